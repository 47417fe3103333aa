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

  function setUpIndex(table) {
    const data = window.trkGallery;
    const body = table.tBodies[0];
    if (!data || !body || data.rows.length !== body.rows.length) return;
    const rows = Array.from(body.rows, function (tr, k) {
      const values = data.rows[k];
      return { tr: tr, values: values, search: values[10].toLowerCase() };
    });
    const collator = new Intl.Collator(undefined, { numeric: true, sensitivity: "base" });
    const headers = Array.from(table.tHead.rows[0].cells);
    let sorted = { column: -1, ascending: true };

    function compare(column, ascending) {
      return function (a, b) {
        const x = a.values[column];
        const y = b.values[column];
        // Tracks without a value go last, whichever way.
        if (x === null || y === null) return (x === null) - (y === null);
        const order = typeof x === "number" ? x - y : collator.compare(x, y);
        return ascending ? order : -order;
      };
    }

    function sortBy(column) {
      const ascending = sorted.column === column ? !sorted.ascending : true;
      sorted = { column: column, ascending: ascending };
      rows.sort(compare(column, ascending));
      const fragment = document.createDocumentFragment();
      for (const row of rows) fragment.appendChild(row.tr);
      body.appendChild(fragment);
      headers.forEach(function (th, k) {
        if (k === column + 1) th.setAttribute("aria-sort", ascending ? "ascending" : "descending");
        else th.removeAttribute("aria-sort");
      });
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
    const shown = document.getElementById("shown");
    function filter() {
      const words = search.value.toLowerCase().split(/\s+/).filter(Boolean);
      let count = 0;
      for (const row of rows) {
        const match = words.every(function (word) { return row.search.includes(word); });
        if (row.tr.hidden === match) row.tr.hidden = !match;
        if (match) count += 1;
      }
      shown.textContent = words.length ? count + " of " + rows.length + " shown" : "";
    }
    search.addEventListener("input", filter);
    search.closest(".search").hidden = false;
    if (search.value) filter();
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

  const table = document.getElementById("tracks");
  if (table) setUpIndex(table);
  if (document.body.classList.contains("track-page")) setUpTrack();
})();
