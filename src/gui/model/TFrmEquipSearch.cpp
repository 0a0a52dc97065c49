#include "gui/model/TFrmEquipSearch.h"

#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/PlainMessage.h"
#include "model/TDeviceList.h"
#include "protocol/TEngineState.h"
#include "protocol/TPollEngine.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The address cells take bus addresses only, so nothing the user types can
// become a different address on the way into the device list.
class AddrCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setValidator(new QIntValidator(TEquipSearch::kFirstAddr, TEquipSearch::kLastAddr, line));
        return editor;
    }
};

QPushButton *Button(const char *name, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QGroupBox *Group(const char *name, QWidget *parent)
{
    auto *group = new QGroupBox(parent);
    group->setObjectName(QLatin1String(name));
    return group;
}

QLabel *Label(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

TFrmEquipSearch::TFrmEquipSearch(TDeviceList &deviceList, TEngineState &engineState, TPollEngine *pollEngine,
                                 quint8 language, std::function<void()> listChanged, QWidget *parent)
    : QDialog(parent), FDeviceList(deviceList), FPollEngine(pollEngine), FLanguage(language),
      FListChanged(std::move(listChanged)), FSearch(engineState)
{
    setObjectName(QStringLiteral("TFrmEquipSearch"));
    ShowMessage = [this](const QString &text) { ShowPlainMessage(this, text); };
    BuildLayout();

    FStart->setRange(TEquipSearch::kFirstAddr, FSearch.StartMaximum());
    FEnd->setRange(FSearch.EndMinimum(), TEquipSearch::kLastAddr);
    FStart->setValue(FSearch.StartAddr());
    FEnd->setValue(FSearch.EndAddr());
    connect(FStart, &QSpinBox::valueChanged, this, &TFrmEquipSearch::OnRangeEdited);
    connect(FEnd, &QSpinBox::valueChanged, this, &TFrmEquipSearch::OnRangeEdited);

    FSearch.Changed = [this] {
        UpdateSearchUi();
        RefreshFoundList();
    };
    if (FPollEngine != nullptr)
        FPollEngine->SetSearchCursor(&FSearch);

    ListExisting(false);
    ApplyLanguage();
    UpdateSearchUi();
}

TFrmEquipSearch::~TFrmEquipSearch()
{
    // A search never outlives its window: the engine goes back to polling.
    FSearch.Changed = nullptr;
    if (FSearch.Searching())
        FSearch.StopSearch();
    if (FPollEngine != nullptr)
        FPollEngine->SetSearchCursor(nullptr);
}

void TFrmEquipSearch::BuildLayout()
{
    QGroupBox *searchGroup = Group("grpSearch", this);
    QGroupBox *rangeGroup = Group("grpRange", searchGroup);
    FStart = new QSpinBox(rangeGroup);
    FStart->setObjectName(QStringLiteral("seAddrS"));
    FEnd = new QSpinBox(rangeGroup);
    FEnd->setObjectName(QStringLiteral("seAddrE"));
    auto *rangeRow = new QHBoxLayout(rangeGroup);
    rangeRow->addWidget(Label("lblFrom", rangeGroup));
    rangeRow->addWidget(FStart, 1);
    rangeRow->addSpacing(8);
    rangeRow->addWidget(Label("lblTo", rangeGroup));
    rangeRow->addWidget(FEnd, 1);

    FSearchButton = Button("btnSearch", searchGroup);
    FSearchButton->setMinimumWidth(90);
    FProgress = new QProgressBar(searchGroup);
    FProgress->setObjectName(QStringLiteral("PrgBarSearch"));
    FProgress->setTextVisible(false);
    FProgress->setMaximumHeight(14);
    // The group keeps its height whether a search runs or not.
    QSizePolicy keepRoom = FProgress->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    FProgress->setSizePolicy(keepRoom);
    FFinished = Label("txtFinished", searchGroup);
    FFinished->setMinimumHeight(18);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(FFinished);
    searchRow->addStretch(1);
    searchRow->addWidget(FSearchButton);
    auto *searchLayout = new QVBoxLayout(searchGroup);
    searchLayout->addWidget(rangeGroup);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(FProgress);

    QGroupBox *searchedGroup = Group("grpSearched", this);
    FSearched = new QListWidget(searchedGroup);
    FSearched->setObjectName(QStringLiteral("lstSearched"));
    (new QVBoxLayout(searchedGroup))->addWidget(FSearched);

    auto *left = new QVBoxLayout;
    left->addWidget(searchGroup);
    left->addWidget(searchedGroup, 1);

    QPushButton *selOne = Button("btnSelOne", this);
    QPushButton *selAll = Button("btnSelAll", this);
    for (QPushButton *button : {selOne, selAll})
        button->setFixedWidth(44);
    auto *moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(selOne);
    moves->addWidget(selAll);
    moves->addStretch(1);

    FGrid = new QTableView(this);
    FGrid->setObjectName(QStringLiteral("grdAppend"));
    FGrid->setModel(&FTable);
    FGrid->setItemDelegateForColumn(TAppendTableModel::AddrColumn, new AddrCellDelegate(FGrid));
    FGrid->verticalHeader()->hide();
    FGrid->horizontalHeader()->setStretchLastSection(true);
    FGrid->setColumnWidth(TAppendTableModel::AddrColumn, 56);
    FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    FGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    QPushButton *clear = Button("btnClear", this);
    QPushButton *append = Button("btnAppend", this);
    auto *tableButtons = new QHBoxLayout;
    tableButtons->addStretch(1);
    tableButtons->addWidget(clear);
    tableButtons->addWidget(append);
    auto *middle = new QVBoxLayout;
    middle->addWidget(Label("lblNameEdit", this));
    middle->addWidget(FGrid, 1);
    middle->addLayout(tableButtons);

    QGroupBox *existGroup = Group("grpExist", this);
    FExist = new QListWidget(existGroup);
    FExist->setObjectName(QStringLiteral("lstExist"));
    (new QVBoxLayout(existGroup))->addWidget(FExist);
    existGroup->setFixedWidth(110);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 5);
    layout->addLayout(moves);
    layout->addLayout(middle, 6);
    layout->addWidget(existGroup);

    connect(FSearchButton, &QPushButton::clicked, this, &TFrmEquipSearch::btnSearchClick);
    connect(selOne, &QPushButton::clicked, this, &TFrmEquipSearch::btnSelOneClick);
    connect(selAll, &QPushButton::clicked, this, &TFrmEquipSearch::btnSelAllClick);
    connect(clear, &QPushButton::clicked, this, &TFrmEquipSearch::btnClearClick);
    connect(append, &QPushButton::clicked, this, &TFrmEquipSearch::btnAppendClick);
    resize(760, 440);
}

void TFrmEquipSearch::ApplyLanguage()
{
    FTexts = EquipSearchTexts(FLanguage);
    ApplyCaptions(this, EquipSearchCaptions(FLanguage));
    FTable.SetHeaders(FTexts.AddrHeader, FTexts.NameHeader);
    UpdateSearchUi();
}

void TFrmEquipSearch::OnRangeEdited()
{
    FSearch.SetStartAddr(FStart->value());
    FSearch.SetEndAddr(FEnd->value());
    FStart->setMaximum(FSearch.StartMaximum());
    FEnd->setMinimum(FSearch.EndMinimum());
}

void TFrmEquipSearch::UpdateSearchUi()
{
    const bool searching = FSearch.Searching();
    FSearchButton->setText(searching ? FTexts.StopButton : FTexts.SearchButton);
    FProgress->setVisible(searching);
    if (FSearch.CurAddr() < FProgress->minimum())
        FProgress->reset();
    else
        FProgress->setValue(FSearch.CurAddr());
    FFinished->setVisible(!searching);
    FFinished->setText(FSearch.Completed() ? FTexts.Completed : QString());
}

void TFrmEquipSearch::RefreshFoundList()
{
    const std::vector<std::uint8_t> &found = FSearch.Found();
    bool same = FSearched->count() == static_cast<int>(found.size());
    for (int i = 0; same && i < FSearched->count(); ++i)
        same = FSearched->item(i)->text() == QString::number(found[static_cast<size_t>(i)]);
    if (same)
        return;
    const bool grew = FSearched->count() < static_cast<int>(found.size());
    FSearched->clear();
    for (std::uint8_t addr : found)
        FSearched->addItem(QString::number(addr));
    if (grew)
        FSearched->setCurrentRow(0);
}

void TFrmEquipSearch::ListExisting(bool sorted)
{
    std::vector<int> addrs;
    for (int position = 1; position <= FDeviceList.Count(); ++position)
        addrs.push_back(FDeviceList.At(position)->Addr);
    if (sorted)
        std::stable_sort(addrs.begin(), addrs.end());
    FExist->clear();
    for (int addr : addrs)
        FExist->addItem(QString::number(addr));
}

void TFrmEquipSearch::btnSearchClick()
{
    if (!FSearch.Searching())
        FProgress->setRange(FSearch.StartAddr(), FSearch.EndAddr());
    FSearch.ToggleSearch();
}

void TFrmEquipSearch::btnSelOneClick()
{
    const QList<QListWidgetItem *> selected = FSearched->selectedItems();
    if (selected.isEmpty())
        return;
    const int addr = selected.first()->text().toInt();
    switch (FTable.MoveOne(static_cast<std::uint8_t>(addr), FDeviceList)) {
    case TAppendTableModel::TMoveResult::AddrUsed:
        ShowMessage(FTexts.AddrUsed);
        break;
    case TAppendTableModel::TMoveResult::AlreadyInTable:
        ShowMessage(FTexts.AlreadyInTable);
        break;
    case TAppendTableModel::TMoveResult::Moved:
        break;
    }
}

void TFrmEquipSearch::btnSelAllClick()
{
    FTable.MoveAll(FSearch.Found(), FDeviceList);
}

void TFrmEquipSearch::btnClearClick()
{
    FTable.Clear();
}

void TFrmEquipSearch::btnAppendClick()
{
    switch (FTable.AppendTo(FDeviceList)) {
    case TAppendTableModel::TAppendResult::NothingToAppend:
        ShowMessage(FTexts.NothingToAppend);
        return;
    case TAppendTableModel::TAppendResult::NameMissing:
        ShowMessage(FTexts.NameMissing);
        return;
    case TAppendTableModel::TAppendResult::Appended:
        break;
    }
    ListExisting(true);
    if (FListChanged)
        FListChanged();
}

void TFrmEquipSearch::reject()
{
    if (FSearch.Searching()) {
        ShowMessage(FTexts.CloseRefused);
        return;
    }
    QDialog::reject();
}
