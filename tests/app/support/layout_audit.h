#pragma once
// What looks broken at the current scale: a window over its screen, widgets cut off or overlapping, text cut.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace korvane::test {

inline bool auditedWidget(const QWidget* w, const QWidget* top)
{
    if (w->isWindow() || !w->isVisibleTo(top) || w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
        return false;
    const QWidget* p = w->parentWidget();
    const auto* area = p ? qobject_cast<const QAbstractScrollArea*>(p->parentWidget()) : nullptr;
    // Content that scrolls, and a widget kept out of sight on purpose, are not laid out to fit.
    const bool scrolled = (area && area->viewport() == p) || qobject_cast<const QAbstractScrollArea*>(p)
        || !p->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly).isEmpty();
    return !scrolled && p->rect().intersects(w->geometry());
}

inline QString plainText(QString text) { return text.remove(QRegularExpression("&(?!&)")); }

// How much a widget's text needs against what it has; empty when it fits.
inline QString textShortfall(const QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    QSize need;
    if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->wordWrap() && !label->text().isEmpty())
        need = label->sizeHint();
    else if (label && !label->text().isEmpty()) // wrapped: its lines at the width it has
        need = QSize(0, label->heightForWidth(label->width()));
    else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        need = w->sizeHint();
    else if (const auto* button = qobject_cast<const QPushButton*>(w); button && !button->text().isEmpty())
        need = QSize(fm.horizontalAdvance(plainText(button->text())) + 8, fm.height() + 4);
    else if (const auto* box = qobject_cast<const QGroupBox*>(w); box && !box->title().isEmpty())
        need = QSize(fm.horizontalAdvance(plainText(box->title())) + 8, 0);
    else if (const auto* list = qobject_cast<const QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(list);
        opt.editable = list->isEditable();
        const QRect field
            = list->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list);
        const int width = fm.horizontalAdvance(list->currentText());
        if (width > field.width() || fm.height() > field.height())
            return QString("%1 needs %2x%3 in %4x%5")
                .arg(w->objectName())
                .arg(width)
                .arg(fm.height())
                .arg(field.width())
                .arg(field.height());
        return {};
    } else if (qobject_cast<const QLineEdit*>(w))
        need = QSize(0, fm.height() + 2);
    if (need.width() <= w->width() && need.height() <= w->height()) return {};
    return QString("%1 needs %2x%3, has %4x%5")
        .arg(w->objectName())
        .arg(need.width())
        .arg(need.height())
        .arg(w->width())
        .arg(w->height());
}

inline QStringList layoutProblems(const QWidget* top)
{
    QStringList problems;
    if (const QScreen* screen = top->screen(); screen && top->isWindow()) {
        const QSize room = screen->availableGeometry().size();
        if (top->width() > room.width() || top->height() > room.height())
            problems << QString("%1 is %2x%3, larger than the screen's %4x%5")
                            .arg(top->objectName())
                            .arg(top->width())
                            .arg(top->height())
                            .arg(room.width())
                            .arg(room.height());
    }
    QList<const QWidget*> audited;
    for (const QWidget* w : top->findChildren<QWidget*>())
        if (auditedWidget(w, top)) audited << w;
    for (const QWidget* w : audited) {
        if (!w->parentWidget()->rect().contains(w->geometry()))
            problems << QString("%1 sticks out of %2").arg(w->objectName(), w->parentWidget()->objectName());
        if (const QString text = textShortfall(w); !text.isEmpty()) problems << text;
        for (const QWidget* other : audited)
            if (other < w && other->parentWidget() == w->parentWidget() && other->geometry().intersects(w->geometry()))
                problems << QString("%1 overlaps %2")
                                .arg(std::min(w->objectName(), other->objectName()),
                                    std::max(w->objectName(), other->objectName()));
    }
    problems.sort();
    return problems;
}

} // namespace korvane::test
