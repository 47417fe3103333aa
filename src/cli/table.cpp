#include "cli/table.h"

namespace cli {

std::string ValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t least = 0;  // the smallest value the length may carry
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            least = 0x10000;
        }
        bool good = length > 0 && i + length <= bytes.size();
        char32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; good && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            good = (next & 0xC0) == 0x80;
            value = (value << 6) | (next & 0x3F);
        }
        good = good && value >= least && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
        if (good) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string CsvText(std::string_view bytes) {
    std::string text = ValidUtf8(bytes);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 =
            c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (c1) ++i;  // its second byte goes with it
        const bool control = (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
        out += control || c1 ? '?' : text[i];
    }
    return out;
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) record += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            record += field;
            continue;
        }
        record += '"';
        for (char c : field) {
            if (c == '"') record += '"';
            record += c;
        }
        record += '"';
    }
    return record + "\r\n";
}

}  // namespace cli
