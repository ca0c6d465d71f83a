#pragma once
// The dialog `frmBulk` of 批量设置...: for every chosen channel at once, the step of each side, the
// signalling of each side (through the signalling dialog), scan, busy lock, clock shift and
// bandwidth. Each list starts at "不变" (leave each channel's own), and so does each signalling,
// which its 设为不变 button sets back.

#include "app/user_dialogs.h"
#include "core/edit/bulk_edit.h"
#include "core/model/record_layout.h"

#include <QDialog>

#include <array>

class QComboBox;
class QPushButton;

namespace korvane::app {

class BulkDialog : public QDialog {
    Q_OBJECT
public:
    // The signalling dialog starts from `first`, the first chosen channel's record.
    BulkDialog(UserDialogs& dialogs, QString dataFolder, const model::Record& first, QWidget* parent = nullptr);

    bool accepted() const { return m_accepted; }
    edit::BulkChange change() const;

private:
    QComboBox* list(const char* name) const;
    void chooseSignalling(model::Side side);

    void keepSignalling(model::Side side);

    UserDialogs& m_dialogs;
    QString m_dataFolder;
    model::Record m_first;
    // Per side: the record whose side carries the signalling chosen, if one was chosen.
    std::array<model::Record, 2> m_records {};
    std::array<bool, 2> m_signallingChosen {};
    std::array<QPushButton*, 2> m_signalling {};
    std::array<QPushButton*, 2> m_keep {};
    bool m_accepted = false;
};

} // namespace korvane::app
