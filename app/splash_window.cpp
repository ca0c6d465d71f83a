#include "app/splash_window.h"

#include <QLabel>
#include <QVBoxLayout>

namespace korvane::app {

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frmSplash");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 60, 120));
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    auto* product = new QLabel(QStringLiteral("Korvane PC编程软件"), this);
    product->setObjectName("lblProductName");
    QFont big = product->font();
    big.setPointSize(20);
    big.setBold(true);
    product->setFont(big);
    auto* models = new QLabel(QStringLiteral("MX-310/310S/320/320S/330/330S VHF/UHF无线对讲机"), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 40);
    layout->addWidget(product, 0, Qt::AlignCenter);
    layout->addWidget(models, 0, Qt::AlignCenter);
    resize(460, 200);
}

} // namespace korvane::app
