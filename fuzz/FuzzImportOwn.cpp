// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as Tavro's own CSV export (first byte even) or XML export (odd).
#include "FuzzStatements.h"
#include "OwnExportReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool csv = data[0] % 2 == 0;
    FuzzStatementReader(
        data + 1, size - 1,
        [csv](const std::string& bytes) {
            return csv ? OwnExportReader::ReadCsv(bytes) : OwnExportReader::ReadXml(bytes);
        },
        true);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzInitialize();
    return 0;
}
