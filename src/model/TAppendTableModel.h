#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class TDeviceList;

// One device waiting in the search window's table: the cells as the user
// sees and edits them.
struct TAppendRow {
    QString Addr;
    QString Name;
};

// The search window's table of devices to append (`grdAppend`): entry rows
// of address and name, always followed by one empty row that receives the
// next entry. Entry cells are editable; the empty row is not, so it stays
// empty.
class TAppendTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum TColumn { AddrColumn = 0, NameColumn = 1, kColumnCount = 2 };
    enum class TMoveResult { Moved, AddrUsed, AlreadyInTable };
    enum class TAppendResult { Appended, NothingToAppend, NameMissing };

    explicit TAppendTableModel(QObject *parent = nullptr);

    void SetHeaders(const QString &addr, const QString &name);

    const std::vector<TAppendRow> &Entries() const { return FEntries; }

    // The bus address an address cell stands for: its decimal number, or 1
    // for a text that is no address from 1 to 252.
    static std::uint8_t AddrOfCell(const QString &cell);

    // Adds addr as a new entry named after its address, unless the list
    // already monitors it or an entry holds it.
    TMoveResult MoveOne(std::uint8_t addr, const TDeviceList &list);
    // Replaces the entries by the found addresses, in their order, that the
    // list does not monitor yet. Nothing happens when none were found.
    void MoveAll(const std::vector<std::uint8_t> &found, const TDeviceList &list);
    void Clear();
    // Appends every entry to the list, top to bottom, and empties the
    // table; nothing when the table is empty or a name is missing. Entries
    // beyond the list's capacity are dropped.
    TAppendResult AppendTo(TDeviceList &list);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void AddEntry(std::uint8_t addr);
    bool HoldsAddr(std::uint8_t addr) const;

    std::vector<TAppendRow> FEntries;
    QStringList FHeaders{QString(), QString()};
};
