// libFuzzer entry: any bytes as an XLSX schedule read to rows or one message, never a crash.
// Whole files mostly fail at the zip layer; the corpus holds real workbooks to mutate.
#include "schedule_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return quoinry::fuzzing::ReadSchedule(data, size, ".xlsx", quoinry::OpenXlsxTable);
}
