#pragma once
// The progress window `frmProgress` of a read-out or a programming run: a line of text and a
// bar from 0 to 600.

#include <QDialog>
#include <QLabel>
#include <QProgressBar>

namespace korvane::app {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    int prgValue() const { return m_value; }
    void setPrgValue(int value); // clamped to 0..600
    void prgChange(); // moves the bar to the value
    QString prgCaption() const { return m_caption; }
    void setPrgCaption(const QString& caption); // "" stands for the program's title

    QProgressBar* bar() const { return m_bar; }
    QLabel* label() const { return m_label; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label;
    QProgressBar* m_bar;
    int m_value = 0;
    QString m_caption;
    bool m_closing = false;
    friend class LinkWindowUi;
};

} // namespace korvane::app
