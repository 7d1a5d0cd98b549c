#include "support/RibbonUser.h"

#include "platform/CommandBarButtonWidget.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarGalleryWidget.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonBarWidget.h"
#include "platform/RibbonGroupPopup.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>

namespace RibbonUser {

RibbonGroup* GroupOf(const CommandBars& bars, const CommandBarControl* control) {
    RibbonTab* tab = bars.Ribbon() ? bars.Ribbon()->SelectedTab() : nullptr;
    if (!tab)
        return nullptr;
    for (int g = 0; g < tab->GroupCount(); ++g) {
        RibbonGroup* group = tab->Group(g);
        if (!group->Visible())
            continue;
        for (const auto& owned : group->Controls())
            if (owned.get() == control)
                return group;
    }
    return nullptr;
}

bool ShowsWhole(const QWidget* widget, const QWidget* area) {
    if (!widget || !area || !widget->isVisible() || !area->isAncestorOf(widget))
        return false;
    return area->rect().contains(QRect(widget->mapTo(area, QPoint(0, 0)), widget->size()));
}

QWidget* Reach(CommandBars& bars, CommandBarControl* control) {
    RibbonBarWidget* view = bars.RibbonView();
    RibbonGroup* group = GroupOf(bars, control);
    if (!view || !group)
        return nullptr;
    if (view->SizeOf(group) != RibbonGroupSizing::Size::Collapsed) {
        QWidget* widget = view->WidgetFor(control);
        return ShowsWhole(widget, view) ? widget : nullptr;
    }
    CommandBarButtonWidget* button = view->CollapsedButtonOf(group);
    if (!ShowsWhole(button, view))
        return nullptr;
    RibbonGroupPopup* popup = view->OpenGroupPopup();
    if (!popup || popup->Group() != group) {
        view->CloseGroupPopup();
        Click(button);
        popup = view->OpenGroupPopup();
    }
    if (!popup || popup->Group() != group || !popup->isVisible())
        return nullptr;
    if (QScreen* screen = popup->screen(); screen && !screen->availableGeometry().contains(popup->frameGeometry()))
        return nullptr;
    QWidget* widget = popup->WidgetFor(control);
    return ShowsWhole(widget, popup) ? widget : nullptr;
}

void Click(QWidget* widget, QPoint at) {
    if (at == QPoint(-1, -1))
        at = widget->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void TypeAndReturn(QWidget* editable, const QString& text) {
    QLineEdit* line = qobject_cast<QLineEdit*>(editable);
    if (auto* combo = qobject_cast<QComboBox*>(editable))
        line = combo->lineEdit();
    if (!line)
        line = editable->findChild<QLineEdit*>();
    if (!line)
        return;
    line->selectAll();
    line->insert(text);
    // An editable combo box has the keyboard and hands keys on to its line.
    PressKey(qobject_cast<QComboBox*>(editable) ? editable : line, Qt::Key_Return);
}

int ClickFirstShownItem(CommandBarGalleryWidget* gallery) {
    const CommandBarGalleryItems* items = gallery->Gallery()->Items();
    for (int i = 0; items && i < items->Count(); ++i) {
        const CommandBarGalleryItem* item = items->Item(i);
        if (item->IsLabel())
            continue;
        const QRect shown = gallery->ItemRect(item->Id());
        if (shown.isEmpty())
            continue;
        QMouseEvent press(QEvent::MouseButtonPress, shown.center(), gallery->mapToGlobal(shown.center()),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(gallery, &press);
        return item->Id();
    }
    return -1;
}

void Snapshot(QWidget* widget, const QString& name) {
    const QByteArray folder = qgetenv("TINDRAL_SNAPSHOT_DIR");
    if (!folder.isEmpty())
        widget->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void Settle() {
    for (int i = 0; i < 4; ++i) QApplication::processEvents();
}

}  // namespace RibbonUser
