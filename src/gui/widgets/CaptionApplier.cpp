#include "gui/widgets/CaptionApplier.h"

#include <QChart>
#include <QChartView>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace {

QObject *FindControl(QObject *root, const char *name)
{
    if (root->objectName() == QLatin1String(name))
        return root;
    return root->findChild<QObject *>(QLatin1String(name));
}

// A page of a tab control is captioned by its tab.
QTabWidget *TabOwner(const QObject *control)
{
    const auto *page = qobject_cast<const QWidget *>(control);
    if (page == nullptr || page->parentWidget() == nullptr)
        return nullptr;
    auto *stack = qobject_cast<QStackedWidget *>(page->parentWidget());
    return stack != nullptr ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
}

// The property that holds what the control shows.
const char *CaptionProperty(const QObject *control)
{
    const QMetaObject *meta = control->metaObject();
    if (meta->indexOfProperty("title") >= 0)
        return "title";
    if (meta->indexOfProperty("text") >= 0)
        return "text";
    return "windowTitle";
}

void SetCaption(QObject *control, const QString &text)
{
    if (auto *view = qobject_cast<QChartView *>(control)) {
        view->chart()->setTitle(text);
    } else if (QTabWidget *tabs = TabOwner(control)) {
        tabs->setTabText(tabs->indexOf(static_cast<QWidget *>(control)), text);
    } else {
        control->setProperty(CaptionProperty(control), text);
    }
}

} // namespace

void ApplyCaptions(QObject *root, const std::vector<TCaptionRow> &rows)
{
    for (const TCaptionRow &row : rows) {
        QObject *control = FindControl(root, row.ObjectName);
        if (control == nullptr)
            continue;
        if (row.Role == TCaptionRole::Hint)
            control->setProperty("toolTip", row.Text);
        else
            SetCaption(control, row.Text);
    }
}

QString CaptionOf(const QObject *control)
{
    if (const auto *view = qobject_cast<const QChartView *>(control))
        return view->chart()->title();
    if (QTabWidget *tabs = TabOwner(control))
        return tabs->tabText(tabs->indexOf(const_cast<QWidget *>(static_cast<const QWidget *>(control))));
    return control->property(CaptionProperty(control)).toString();
}
