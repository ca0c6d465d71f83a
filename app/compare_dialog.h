#pragma once
// The dialog `frmCompare`: the differences between the image and another one (a data file, the
// radio, or what a radio read back after programming), one row each: where, this image, the other.
// Double-clicking a row of a channel's column, or Enter on it, chooses that cell in the channel grid.

#include <QDialog>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QTableWidget;

namespace korvane::app {

struct CompareRow {
    QString where;
    QString ours;
    QString theirs;
    int channel = -1; // 0..15 for a channel's field
    int column = -1; // its grid column 1..10, or -1
};

class CompareDialog : public QDialog {
    Q_OBJECT
public:
    // The columns: 位置, then the headings of this image's and the other's values.
    CompareDialog(const QString& title, const QStringList& headings, const std::vector<CompareRow>& rows,
        QWidget* parent = nullptr);

    // The grid cell (row, column) chosen by a double click or Enter, if any.
    std::optional<std::pair<int, int>> chosenCell() const { return m_chosen; }

private:
    QTableWidget* m_list;
    std::optional<std::pair<int, int>> m_chosen;
};

} // namespace korvane::app
