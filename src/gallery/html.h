// Texts into HTML: what the pages share for putting a track's texts, names
// and bytes into markup safely.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace gallery {

// UTF-8 as HTML text or attribute value: & < > " ' as references, and
// control characters and bytes that are not UTF-8 as "?", which no page
// may hold.
std::string Html(std::string_view utf8);
// A track's text (Windows-1252) the same way.
std::string HtmlFromTrack(std::string_view cp1252);

// A file name as one part of a relative URL: every byte but letters,
// digits and - . _ ~ percent-encoded, so that no name reads as a query, a
// fragment or another folder.
std::string UrlPart(std::string_view utf8);

// Bytes as a data: URL of `type`.
std::string DataUrl(std::string_view type, std::span<const std::uint8_t> bytes);

}  // namespace gallery
