// Text conversions of the FLTK backend that need no display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::fltk {

// A dialog filter of "description|pattern" pairs ("trk|*.trk") in the form
// Fl_Native_File_Chooser takes: "description\tpattern", one pair a line.
std::string ChooserFilter(std::string_view filter);

// The first ".trk" file of a dropped list (one entry a line, file:// URIs
// with %-escapes), or nothing. Plain text is no file drop.
std::optional<std::string> DroppedTrackPath(std::string_view list);

// Windows-1252 text as a widget shows it: UTF-8, "\r\n" and lone "\r" as "\n".
std::string DisplayText(std::string_view cp1252);

}  // namespace platform::fltk
