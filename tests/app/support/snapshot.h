#pragma once
// A window as text: each visible widget's class, name, state and designed geometry, and the menus.

#include "app/record_grid.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>

namespace korvane::test {

inline QString quoted(const QString& text) { return '"' + QString(text).replace('\n', "\\n") + '"'; }

inline QString colour(const QColor& c) { return c.name().mid(1); }

// The entries of a menu: name, caption and what differs from shown and enabled.
inline void dumpMenu(QString& out, const QMenu* menu, const QString& pad)
{
    out += pad + "menu " + menu->objectName() + " " + quoted(menu->title()) + "\n";
    for (const QAction* a : menu->actions()) {
        out += pad + "  " + (a->isSeparator() ? "----" : a->objectName() + " " + quoted(a->text()));
        if (a->property("index").isValid()) out += QString(" #%1").arg(a->property("index").toInt());
        out += QString(a->isVisible() ? "" : " hidden") + (a->isEnabled() ? "" : " off")
            + (a->isChecked() ? " checked" : "") + "\n";
    }
}

// The colour letters of one transcript.
inline QStringList& colourLegend()
{
    static QStringList legend;
    return legend;
}

inline void dumpGrid(QString& out, const app::RecordGrid* grid, const QString& pad)
{
    QStringList heights, widths;
    for (int r = 0; r < grid->rowCount(); ++r)
        heights << QString::number(grid->rowHeight(r)) + (grid->isRowHidden(r) ? "h" : "");
    for (int c = 0; c < grid->columnCount(); ++c)
        widths << QString::number(grid->columnWidth(c));
    out += pad + "rows " + heights.join(' ') + " | columns " + widths.join(' ') + "\n";
    out += pad + QString("current %1,%2\n").arg(grid->currentRow()).arg(grid->currentColumn());
    // Colours by letter, named when first met in a run: {text background}, ! for bold.
    QStringList& legend = colourLegend();
    QStringList added;
    const auto letter = [&](const QColor& c) {
        if (!legend.contains(colour(c))) {
            legend << colour(c);
            added << QChar(static_cast<char16_t>('a' + legend.size() - 1)) + QString("=") + colour(c);
        }
        return QChar(static_cast<char16_t>('a' + legend.indexOf(colour(c))));
    };
    QString rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << grid->text(r, c).simplified() + "{" + letter(grid->foreground(r, c))
                    + letter(grid->background(r, c)) + (grid->emphasis(r, c) ? "!" : "") + "}";
        rows += pad + QString("r%1 ").arg(r) + cells.join(' ') + "\n";
    }
    out += (added.isEmpty() ? "" : pad + "colours " + added.join(' ') + "\n") + rows;
}

inline void dumpTree(QString& out, const QTreeWidgetItem* item, const QTreeWidget* tree, const QString& pad)
{
    out += pad + quoted(item->text(0)) + " " + item->data(0, Qt::UserRole).toString()
        + (item->isExpanded() ? " open" : "") + (item == tree->currentItem() ? " current" : "") + "\n";
    for (int i = 0; i < item->childCount(); ++i)
        dumpTree(out, item->child(i), tree, pad + "  ");
}

// What one widget shows besides its geometry.
inline QString widgetState(const QWidget* w)
{
    QString s;
    if (auto* l = qobject_cast<const QLabel*>(w))
        s += !l->pixmap().isNull()        ? QString(" picture")
            : w->objectName() == "sbDate" ? QString(" <today>")
            : w->objectName() == "sbTime" ? QString(" <now>")
                                          : " " + quoted(l->text());
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
        s += " " + quoted(b->text());
        if (b->isCheckable()) s += b->isChecked() ? " [x]" : " [ ]";
        if (auto* p = qobject_cast<const QPushButton*>(w); p && p->isDefault()) s += " default";
    }
    if (auto* g = qobject_cast<const QGroupBox*>(w)) s += " " + quoted(g->title());
    if (auto* c = qobject_cast<const QComboBox*>(w)) {
        QStringList items;
        for (int i = 0; i < c->count(); ++i)
            items << c->itemText(i);
        s += QString(" [%1] ").arg(c->currentIndex()) + quoted(c->currentText()) + " items=" + items.join('|');
    }
    if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        s += " " + quoted(e->text()) + QString(" cursor=%1").arg(e->cursorPosition());
        if (e->hasSelectedText()) s += " selected=" + quoted(e->selectedText());
        if (e->maxLength() != 32767) s += QString(" max=%1").arg(e->maxLength());
        if (e->echoMode() != QLineEdit::Normal) s += " hidden-text";
    }
    if (auto* b = qobject_cast<const QAbstractSlider*>(w))
        s += QString(" value=%1 range=%2..%3 step=%4 page=%5")
                 .arg(b->value())
                 .arg(b->minimum())
                 .arg(b->maximum())
                 .arg(b->singleStep())
                 .arg(b->pageStep());
    if (auto* t = qobject_cast<const QTextBrowser*>(w)) s += " page=" + t->source().fileName();
    if (!w->toolTip().isEmpty()) s += " tip=" + quoted(w->toolTip());
    return s;
}

// Whether `layout`, or a layout inside it, places `w`.
inline bool placedBy(const QLayout* layout, const QWidget* w)
{
    if (!layout) return false;
    if (layout->menuBar() == w) return true;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w || placedBy(item->layout(), w)) return true;
    }
    return false;
}

// How much of a widget's geometry the window's own code sets rather than a layout (or the settings frames).
enum class Designed { All, Place, None };

inline Designed designedGeometry(const QWidget* w)
{
    if (w->isWindow()) return !w->layout() || qobject_cast<const QMainWindow*>(w) ? Designed::All : Designed::None;
    if (placedBy(w->parentWidget()->layout(), w)) return Designed::None;
    if (!w->testAttribute(Qt::WA_Resized) || w->objectName() == "fraFunction" || w->objectName() == "fraScan")
        return Designed::Place;
    return Designed::All;
}

inline void dumpWidget(QString& out, const QWidget* w, const QString& pad)
{
    out += pad + w->metaObject()->className();
    if (!w->objectName().isEmpty()) out += " " + w->objectName();
    if (w->property("index").isValid()) out += QString("#%1").arg(w->property("index").toInt());
    const QRect g = w->geometry();
    if (const Designed designed = designedGeometry(w); designed != Designed::None)
        out += QString(" %1,%2").arg(g.x()).arg(g.y())
            + (designed == Designed::All ? QString(" %1x%2").arg(g.width()).arg(g.height()) : QString());
    if (!w->isEnabled()) out += " off";
    if (!w->isVisible()) out += " hidden";
    if (w->hasFocus()) out += " focus";
    if (w->isWindow()) out += " title=" + quoted(w->windowTitle()) + (w->isModal() ? " modal" : "");
    out += widgetState(w) + "\n";
    const QString inner = pad + "  ";
    if (auto* grid = qobject_cast<const app::RecordGrid*>(w)) dumpGrid(out, grid, inner);
    if (auto* tree = qobject_cast<const QTreeWidget*>(w))
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            dumpTree(out, tree->topLevelItem(i), tree, inner);
    if (auto* bar = qobject_cast<const QMenuBar*>(w))
        for (const QAction* a : bar->actions())
            if (a->menu()) dumpMenu(out, a->menu(), inner);
    if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QTextBrowser*>(w)) return;
    for (const QObject* child : w->children()) {
        auto* c = qobject_cast<const QWidget*>(child);
        if (!c || c->isWindow()) continue;
        if (!c->isVisible()) {
            // A hidden control shows its state but not its parts.
            if (!c->objectName().isEmpty() && !c->objectName().startsWith("qt_"))
                out += inner + c->metaObject()->className() + " " + c->objectName() + " hidden"
                    + (c->isEnabledTo(w) ? "" : " off") + widgetState(c) + "\n";
            continue;
        }
        // Qt's own parts (scroll area viewports and the like) are walked through, not shown.
        if (c->objectName().startsWith("qt_") || qobject_cast<const QMenu*>(c))
            for (const QObject* part : c->children()) {
                if (auto* pw = qobject_cast<const QWidget*>(part); pw && pw->isVisible() && !pw->isWindow())
                    dumpWidget(out, pw, inner);
            }
        else
            dumpWidget(out, c, inner);
    }
}

inline QString snapshot(const QWidget* root)
{
    QString out;
    dumpWidget(out, root, "");
    return out;
}

} // namespace korvane::test
