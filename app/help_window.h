#pragma once
// The manual's window: a browser over the HTML pages of the manual folder, with back, forward,
// contents and index. The help commands open it modeless and reuse it.

#include <QMainWindow>

class QAction;
class QTextBrowser;

namespace korvane::app {

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kContentsPage = QStringLiteral("index.html");
    static inline const QString kIndexPage = QStringLiteral("keywords.html");

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows page (a file name inside manualDir, optionally with "#anchor").
    void openPage(const QString& manualDir, const QString& page);
    void showContents();
    void showIndex();

    QTextBrowser* browser() const { return m_browser; }
    // The file name of the page shown, without folder and anchor.
    QString currentPage() const;

private:
    void updateTitle();

    QString m_manualDir;
    QTextBrowser* m_browser = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
};

} // namespace korvane::app
