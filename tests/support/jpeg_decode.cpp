#include "support/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

namespace {

struct DecodeErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<DecodeErrors*>(info->err)->jump, 1);
}

// Plain C data only between setjmp and the library's longjmp.
bool Decode(std::FILE* file, DecodedJpeg* out) {
    jpeg_decompress_struct info{};
    DecodeErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    out->progressive = info.progressive_mode;
    out->colourSpace = info.jpeg_color_space;
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 64; ++i)
            out->quant[t][i] = info.quant_tbl_ptrs[t] ? info.quant_tbl_ptrs[t]->quantval[i] : 0;
    info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    out->rgb.resize(static_cast<std::size_t>(info.output_width) * info.output_height * 3);
    jpeg_start_decompress(&info);
    out->width = static_cast<int>(info.output_width);
    out->height = static_cast<int>(info.output_height);
    out->components = info.output_components;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out->rgb[static_cast<std::size_t>(info.output_scanline) * out->width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool DecodeJpeg(const std::string& path, DecodedJpeg& out) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    const bool ok = Decode(file, &out);
    std::fclose(file);
    return ok;
}

std::array<std::array<unsigned, 64>, 2> ReferenceTables(int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    info.in_color_space = JCS_RGB;
    info.input_components = 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, FALSE);
    std::array<std::array<unsigned, 64>, 2> tables{};
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 64; ++i) tables[t][i] = info.quant_tbl_ptrs[t]->quantval[i];
    jpeg_destroy_compress(&info);
    return tables;
}
