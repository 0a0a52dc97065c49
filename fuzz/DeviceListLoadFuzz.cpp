// The device list loader on any TreeNode.dat content, and the poll cursor
// and tree arithmetic over whatever it loaded.
#include "FuzzFiles.h"

#include "model/TDeviceList.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString recordDir = FuzzScratchDir();
    WriteFuzzFile(TDeviceList::FilePath(recordDir), data, size);

    TDeviceList list;
    list.LoadDeviceList(recordDir);
    FUZZ_CHECK(list.Count() <= TDeviceList::kCapacity);
    for (int position = 1; position <= list.Count(); ++position) {
        const TDeviceNode *node = list.At(position);
        FUZZ_CHECK(node != nullptr);
        FUZZ_CHECK(list.PositionOfTreeIndex(TDeviceList::TreeIndexOf(position)) == position);
        list.IsAddrUsed(node->Addr);
    }
    for (int i = 0; i <= list.Count(); ++i)
        list.NextPollDevice();

    // What was loaded saves and loads back the same.
    list.SaveDeviceList(recordDir);
    TDeviceList again;
    again.LoadDeviceList(recordDir);
    FUZZ_CHECK(again.Count() == list.Count());
    for (int position = 1; position <= list.Count(); ++position)
        FUZZ_CHECK(again.At(position)->Addr == list.At(position)->Addr);
    return 0;
}
