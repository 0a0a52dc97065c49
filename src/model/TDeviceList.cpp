#include "model/TDeviceList.h"

#include "log/CommitSaveFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

[[noreturn]] void ThrowFileError(const QString &what, const QFileDevice &file)
{
    throw std::runtime_error(
        QStringLiteral("%1 \"%2\". %3").arg(what, file.fileName(), file.errorString()).toStdString());
}

} // namespace

const TDeviceNode *TDeviceList::At(int position) const
{
    if (position < 1 || position > FCount)
        return nullptr;
    return &FItems[static_cast<size_t>(position - 1)];
}

QString TDeviceList::FilePath(const QString &recordDir)
{
    return recordDir + QStringLiteral("/TreeNode.dat");
}

void TDeviceList::LoadDeviceList(const QString &recordDir)
{
    QFile file(FilePath(recordDir));
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly))
            ThrowFileError(QStringLiteral("Cannot create file"), file);
        file.close();
    }
    if (!file.open(QIODevice::ReadOnly))
        return;

    FCount = 0;
    TDeviceNode record;
    while (FCount < kCapacity) {
        const qint64 got = file.read(reinterpret_cast<char *>(&record), sizeof record);
        if (got < 0)
            ThrowFileError(QStringLiteral("Cannot read file"), file);
        if (got < static_cast<qint64>(sizeof record))
            break;
        FItems[FCount] = record;
        FItems[FCount].NodeIndex = static_cast<quint8>(TreeIndexOf(FCount + 1));
        ++FCount;
    }
}

void TDeviceList::SaveDeviceList(const QString &recordDir) const
{
    // Written aside and renamed into place, so a failed save never leaves
    // a shortened device file.
    QSaveFile file(FilePath(recordDir));
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        ThrowFileError(QStringLiteral("Cannot create file"), file);
    const qint64 bytes = static_cast<qint64>(FCount) * static_cast<qint64>(sizeof(TDeviceNode));
    if (file.write(reinterpret_cast<const char *>(FItems.data()), bytes) != bytes || !CommitSaveFile(file))
        ThrowFileError(QStringLiteral("Cannot write file"), file);
}

bool TDeviceList::AddDevice(const TDeviceNode &node)
{
    if (FCount >= kCapacity)
        return false;
    FItems[FCount] = node;
    ++FCount;
    Renumber();
    return true;
}

bool TDeviceList::SetDeviceName(int treeIndex, QByteArrayView storedName)
{
    if (DeviceTreeIndex(treeIndex) != treeIndex)
        return false;
    const int position = PositionOfTreeIndex(treeIndex);
    if (position == 0)
        return false;
    FItems[static_cast<size_t>(position - 1)].SetName(storedName);
    return true;
}

bool TDeviceList::RemoveAt(int position)
{
    if (At(position) == nullptr)
        return false;
    std::copy(FItems.begin() + position, FItems.begin() + FCount, FItems.begin() + position - 1);
    --FCount;
    FItems[FCount] = TDeviceNode{};
    // Keep the poll order going: the device after the removed one is polled next.
    if (position <= FCursor)
        --FCursor;
    Renumber();
    return true;
}

void TDeviceList::NextPollDevice()
{
    if (FCount == 0) {
        FCursor = 0;
        FPollAddr = 0;
        return;
    }
    // Devices without a bus address are passed over; with none left to
    // poll, PollAddr is 0 and the engine sends nothing.
    for (int tried = 0; tried < FCount; ++tried) {
        ++FCursor;
        if (FCursor > FCount)
            FCursor = 1;
        if (FCursor == 1)
            ++FRoundsBegun;
        if (FItems[FCursor - 1].HasBusAddress()) {
            FPollAddr = FItems[FCursor - 1].Addr;
            return;
        }
    }
    FPollAddr = 0;
}

bool TDeviceList::IsAddrUsed(quint8 addr) const
{
    return FindAddr(addr) != nullptr;
}

const TDeviceNode *TDeviceList::FindAddr(quint8 addr) const
{
    const auto end = FItems.begin() + FCount;
    const auto found = std::find_if(FItems.begin(), end, [addr](const TDeviceNode &node) { return node.Addr == addr; });
    return found != end ? &*found : nullptr;
}

int TDeviceList::TreeIndexOf(int position)
{
    return (position - 1) * kNodesPerDevice;
}

int TDeviceList::DeviceTreeIndex(int treeIndex)
{
    if (treeIndex < 0)
        return -1;
    return treeIndex - treeIndex % kNodesPerDevice;
}

bool TDeviceList::IsGraphNode(int treeIndex)
{
    return treeIndex >= 0 && treeIndex % kNodesPerDevice == 2;
}

int TDeviceList::PositionOfTreeIndex(int treeIndex) const
{
    if (treeIndex < 0)
        return 0;
    const int position = treeIndex / kNodesPerDevice + 1;
    return position <= FCount ? position : 0;
}

void TDeviceList::Renumber()
{
    // The file keeps the one-byte index it always held: the tree index,
    // wrapped to 8 bits from the 86th device on.
    for (int i = 0; i < FCount; ++i)
        FItems[static_cast<size_t>(i)].NodeIndex = static_cast<quint8>(TreeIndexOf(i + 1));
}
