// Fuzzes the label stream reader, and checks that whatever it accepts is
// written back and read again unchanged.

#include "package/LabelData.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    scr::LabelGroupList list;
    list.LoadLabelStream({data, size});
    const auto stream = scr::WriteLabelStream(list);
    scr::LabelGroupList again;
    again.LoadLabelStream(stream);
    if (!(again == list)) std::abort();
    list.ScaleLabels(size % 50, -static_cast<int>(size % 30), 1.6);
    list.MatchGroupCount(static_cast<int>(size % 7));
    list.DeleteGroup(static_cast<int>(size % 3));
    for (int g = 0; g < list.GroupCount(); ++g)
        for (int l = 0; l < scr::LabelCount(list.Group(g)); ++l)
            scr::LabelText(scr::Label(list.Group(g), l));
    return 0;
}
