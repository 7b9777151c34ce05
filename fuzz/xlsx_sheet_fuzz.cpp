// libFuzzer entry: any bytes as the first sheet of an otherwise sound workbook, so the fuzzer
// reaches the sheet and shared string parsing past the zip layer.
#include <zip.h>

#include "schedule_fuzz.h"

namespace {

const char kStrings[] = "<sst><si><t>name</t></si><si><t>glass.te3</t></si></sst>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = quoinry::fuzzing::InputFile("-sheet.xlsx");
    int code = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr)
        return 0;
    zip_file_add(archive, "xl/worksheets/sheet1.xml", zip_source_buffer(archive, data, size, 0), 0);
    zip_file_add(archive, "xl/sharedStrings.xml",
                 zip_source_buffer(archive, kStrings, sizeof kStrings - 1, 0), 0);
    zip_close(archive);
    return quoinry::fuzzing::ReadSchedule(
        nullptr, 0, "", [&](const std::filesystem::path&) { return quoinry::OpenXlsxTable(file); });
}
