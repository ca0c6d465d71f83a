#pragma once
// The signalling dialog `frmSignal`: off, a CTCSS tone or a CDCSS code (normal or inverted) for
// one side of one channel. A hidden 2-Tone choice lets a 2-Tone signalling already in the record
// survive OK when the user picks nothing else. The tone and code lists come from the tone-list
// files, read the first time each list drops down.

#include "app/tone_combo.h"
#include "app/user_dialogs.h"
#include "core/files/tone_list.h"
#include "core/model/signalling_cell.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>
#include <optional>

namespace korvane::app {

// Where the dialog goes: right of and below the cell, moved back onto the screen when it would
// leave it (above the cell when there is no room below).
QPoint signalDialogPosition(QPoint cellBottomRight, int cellHeight, QSize dialogSize, const QRect& screen);

class SignalDialog : public QDialog {
    Q_OBJECT
public:
    // Indexes of `optChSignaling`.
    enum Option { TwoTone = 0, Ctcss = 1, Cdcss = 2, Off = 3 };

    // The tone lists are read from `dataFolder`.
    SignalDialog(UserDialogs& dialogs, QString dataFolder, QWidget* parent = nullptr);

    // The signalling kind (0 off, 3 CTCSS, 5 CDCSS, 7 inverted CDCSS, 8 2-Tone); a value below 0
    // is kept as 0, one above 8 as 8.
    int mSignal() const { return m_mSignal; }
    void setMSignal(int kind);
    // The value of the kind: CTCSS in tenths of hertz, CDCSS as the code's digits read in decimal,
    // 2-Tone the number.
    std::int64_t dSignal() const { return m_dSignal; }
    void setDSignal(std::int64_t value) { m_dSignal = value; }
    // The kind word: "OFF", "CTCSS", "CDCSS", "--CDCSS" or "2-Tone".
    QString sSignal() const { return m_sSignal; }
    void setSSignal(const QString& word) { m_sSignal = word; }
    // True unless the dialog was closed with OK.
    bool cancelPressed() const { return m_cancelPressed; }
    // The choice the properties describe.
    model::SignallingChoice choice() const;
    // Shows the dialog beside a cell (its bottom-right corner on the screen), on `screen`.
    void placeBeside(QPoint cellBottomRight, int cellHeight, const QRect& screen);

    QRadioButton* option(int index) const { return m_optChSignaling[static_cast<std::size_t>(index)]; }
    QComboBox* toneList() const { return m_cboChQT; }
    QComboBox* codeList() const { return m_cboChDQT; }
    QCheckBox* invertedBox() const { return m_chkChIvDQT; }
    QComboBox* twoToneList() const { return m_cboChTwoTone; }
    QPushButton* okButton() const { return m_cmdOK; }
    QPushButton* cancelButton() const { return m_cmdCancel; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void formLoad();
    void optionClicked(int index);
    void fillList(QComboBox* list, files::ToneList which);
    bool filterKey(QComboBox* list, QKeyEvent* event);
    // Checks a field's text, shows the message if any and puts the corrected text in; true when
    // the focus has to stay in the field.
    bool validate(QComboBox* list);
    void leaving(QComboBox* list, QFocusEvent* event);
    void ok();

    UserDialogs& m_dialogs;
    QString m_dataFolder;
    int m_mSignal = 0;
    std::int64_t m_dSignal = 0;
    QString m_sSignal = QStringLiteral("OFF");
    bool m_cancelPressed = true;
    bool m_loaded = false;
    // The cell to show beside: its bottom-right corner and height on the screen.
    std::optional<QPoint> m_cellCorner;
    int m_cellHeight = 0;
    QRect m_screen;
    // Set when a field kept the focus on a mouse press: that press must not click anything.
    bool m_swallowPress = false;

    QGroupBox* m_fraChRxdec;
    std::array<QRadioButton*, 4> m_optChSignaling {};
    ToneCombo* m_cboChQT;
    ToneCombo* m_cboChDQT;
    QCheckBox* m_chkChIvDQT;
    QComboBox* m_cboChTwoTone;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdCancel;
};

} // namespace korvane::app
