// Track Analyse gallery: sorting and search on the index; on a track's
// page, switches that stay as set from page to page, and the arrow keys to
// the previous and next track. The pages read without it.
"use strict";

(function () {
  function typing(event) {
    const target = event.target;
    return event.altKey || event.ctrlKey || event.metaKey ||
      (target instanceof HTMLElement &&
       (target.isContentEditable || /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName)));
  }

  // The index of a large archive: every row is in the page for reading
  // without scripts, but laying out ten thousand rows, and again after each
  // sort, takes the browser many seconds. So the script hides that body
  // before it is laid out (see the class set below) and shows only the rows
  // in view, in a body of its own, between two spacers of the height of
  // the rows above and below. Sorting and searching then touch only the
  // list of rows and the few in view.
  function setUpIndex(table) {
    const data = window.trkGallery;
    const all = table.tBodies[0];
    if (!data || !all || data.rows.length !== all.rows.length) {
      document.documentElement.classList.remove("js");
      return;
    }
    const rows = Array.from(all.rows, function (tr, k) {
      const values = data.rows[k];
      return { tr: tr, values: values, search: values[10].toLowerCase(), at: k };
    });
    let shown = rows.slice();
    const collator = new Intl.Collator(undefined, { numeric: true, sensitivity: "base" });
    const headers = Array.from(table.tHead.rows[0].cells);
    let sorted = { column: -1, ascending: true };

    const view = document.createElement("tbody");
    view.className = "shown";
    function spacer() {
      const tr = document.createElement("tr");
      tr.className = "spacer";
      tr.setAttribute("aria-hidden", "true");
      const td = document.createElement("td");
      td.colSpan = headers.length;
      tr.appendChild(td);
      return tr;
    }
    const above = spacer();
    const below = spacer();
    table.appendChild(view);

    let rowHeight = 0;
    let first = -1;
    let count = -1;
    let pending = false;
    function render() {
      pending = false;
      if (rowHeight === 0 && rows.length) {
        view.replaceChildren(rows[0].tr);
        rowHeight = rows[0].tr.getBoundingClientRect().height || 137;
      }
      const top = view.getBoundingClientRect().top;
      const extra = 10;
      const from = Math.max(0, Math.floor(-top / rowHeight) - extra);
      const length = Math.ceil(window.innerHeight / rowHeight) + 2 * extra;
      const to = Math.min(shown.length, from + length);
      if (from === first && to - from === count) return;
      first = from;
      count = to - from;
      above.firstChild.style.height = from * rowHeight + "px";
      below.firstChild.style.height = (shown.length - to) * rowHeight + "px";
      const fragment = document.createDocumentFragment();
      fragment.appendChild(above);
      for (let k = from; k < to; k += 1) {
        const row = shown[k];
        if (!row.thumbnail) {
          // The thumbnail, written in the row for readers without scripts.
          row.thumbnail = true;
          const hidden = row.tr.cells[0].querySelector("noscript");
          if (hidden) hidden.insertAdjacentHTML("afterend", hidden.textContent);
        }
        fragment.appendChild(row.tr);
      }
      fragment.appendChild(below);
      // Rows out of view go back to the hidden body, where they wait.
      for (const tr of Array.from(view.rows)) {
        if (!tr.classList.contains("spacer")) all.appendChild(tr);
      }
      view.replaceChildren(fragment);
    }
    function update() {
      if (!pending) {
        pending = true;
        window.requestAnimationFrame(render);
      }
    }
    function refresh() {
      first = -1;
      render();
    }
    window.addEventListener("scroll", update, { passive: true });
    window.addEventListener("resize", update);

    function compare(column, ascending) {
      return function (a, b) {
        const x = a.values[column];
        const y = b.values[column];
        // Tracks without a value go last, whichever way; ties keep the
        // index's order.
        if (x === null || y === null) return (x === null) - (y === null) || a.at - b.at;
        const order = typeof x === "number" ? x - y : collator.compare(x, y);
        return (ascending ? order : -order) || a.at - b.at;
      };
    }

    function sortBy(column) {
      const ascending = sorted.column === column ? !sorted.ascending : true;
      sorted = { column: column, ascending: ascending };
      rows.sort(compare(column, ascending));
      headers.forEach(function (th, k) {
        if (k === column + 1) th.setAttribute("aria-sort", ascending ? "ascending" : "descending");
        else th.removeAttribute("aria-sort");
      });
      filter();
    }

    // Every column but the picture sorts; its values are the data's
    // column before it.
    headers.forEach(function (th, k) {
      if (k === 0) return;
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = th.textContent;
      button.addEventListener("click", function () { sortBy(k - 1); });
      th.replaceChildren(button);
    });

    const search = document.getElementById("search");
    const shownText = document.getElementById("shown");
    function filter() {
      const words = search.value.toLowerCase().split(/\s+/).filter(Boolean);
      shown = words.length ? rows.filter(function (row) {
        return words.every(function (word) { return row.search.includes(word); });
      }) : rows.slice();
      shownText.textContent = words.length ? shown.length + " of " + rows.length + " shown" : "";
      refresh();
    }
    search.addEventListener("input", filter);
    search.closest(".search").hidden = false;
    if (search.value) filter();
    else refresh();
    document.addEventListener("keydown", function (event) {
      if (event.key === "/" && !typing(event)) {
        event.preventDefault();
        search.focus();
      }
    });
  }

  function setUpTrack() {
    const key = "trk-gallery-layers";
    let saved = {};
    try {
      saved = JSON.parse(window.localStorage.getItem(key) || "{}") || {};
    } catch (error) {
      saved = {};  // no storage for pages from disk here: switches start as set
    }
    const switches = document.querySelectorAll(".viewer input[type=checkbox]");
    switches.forEach(function (box) {
      if (!box.disabled && typeof saved[box.id] === "boolean") box.checked = saved[box.id];
      box.addEventListener("change", function () {
        saved[box.id] = box.checked;
        try {
          window.localStorage.setItem(key, JSON.stringify(saved));
        } catch (error) {
          // As above: the switch works, it is only not remembered.
        }
      });
    });
    document.addEventListener("keydown", function (event) {
      if (typing(event) || event.shiftKey) return;
      const rel = event.key === "ArrowLeft" ? "prev" : event.key === "ArrowRight" ? "next" : "";
      const link = rel && document.querySelector(".pager a[rel=" + rel + "]");
      if (link) {
        event.preventDefault();
        link.click();
      }
    });
  }

  // Loaded in the head, before the body: the index's rows are hidden
  // from the first layout on, until the script shows those in view.
  document.documentElement.classList.add("js");
  document.addEventListener("DOMContentLoaded", function () {
    const table = document.getElementById("tracks");
    if (table) setUpIndex(table);
    if (document.body.classList.contains("track-page")) setUpTrack();
  });
})();
