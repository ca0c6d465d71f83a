#include "app/compare_dialog.h"

#include "app/input_rules.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvane::app {

CompareDialog::CompareDialog(
    const QString& title, const QStringList& headings, const std::vector<CompareRow>& rows, QWidget* parent)
    : QDialog(parent)
    , m_list(new QTableWidget(static_cast<int>(rows.size()), 3, this))
{
    setObjectName("frmCompare");
    setWindowTitle(title);
    m_list->setObjectName("lstCompare");
    m_list->setHorizontalHeaderLabels(QStringList { QStringLiteral("位置") } + headings);
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const CompareRow& row = rows[static_cast<std::size_t>(r)];
        int c = 0;
        for (const QString& text : { row.where, row.ours, row.theirs })
            m_list->setItem(r, c++, new QTableWidgetItem(text));
    }
    m_list->resizeColumnsToContents();
    m_list->horizontalHeader()->setStretchLastSection(true);
    const auto jump = [this, rows](int r) {
        if (r < 0 || r >= static_cast<int>(rows.size())) return;
        const CompareRow& row = rows[static_cast<std::size_t>(r)];
        if (row.channel < 0) return;
        m_chosen = std::pair { row.channel + 1, row.column > 0 ? row.column : 1 };
        accept();
    };
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [jump](int r, int) { jump(r); });
    // Enter on a row jumps as a double click does; on a row with no cell it does nothing.
    onEnter(m_list, [this, jump] { jump(m_list->currentRow()); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName("cmdClose");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(560, 360);
}

} // namespace korvane::app
