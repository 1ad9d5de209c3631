// Fuzzes the PE resource reader: headers, section table, the three-level
// resource directory, named entries and string tables, and the listing of
// every resource.

#include "package/PeResources.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const scr::MemoryByteSource source({data, size});
    const scr::PeResourceReader reader(source);
    reader.FindRcData("SCRINFO");
    reader.FindRcData("XLABELS");
    reader.FindRcData("track1");
    for (int id : {0, 1, 17, 65535})
        reader.LoadString(id, 63);
    reader.FindResource(3, {}, 1);
    for (const scr::PeResourceEntry& entry : reader.ListResources().entries)
        (void)entry.type.Text(true);
    return 0;
}
