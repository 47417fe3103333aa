// Texts for tables and JSON: file names made valid UTF-8, and CSV fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

// `bytes` with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD. File names on Linux are bytes; JSON and CSV want UTF-8.
std::string ValidUtf8(std::string_view bytes);

// A text for a CSV field: ValidUtf8, with the control characters a terminal
// obeys (all but tab and the line ends, which CSV quotes) shown as '?'.
std::string CsvText(std::string_view bytes);

// One CSV record (RFC 4180): fields joined by commas, a field quoted when it
// holds a comma, a quote, CR or LF, quotes inside doubled; ends in CRLF.
std::string CsvRecord(const std::vector<std::string>& fields);

}  // namespace cli
