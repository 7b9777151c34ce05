// libFuzzer entry: any bytes as a CSV schedule read to rows or one message, never a crash.
#include "schedule_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return quoinry::fuzzing::ReadSchedule(data, size, ".csv", quoinry::OpenCsvTable);
}
