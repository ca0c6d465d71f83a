#pragma once
// While a change is on the line the link runner holds back all input to the window. Installed on
// the application after the runner's own filter, this one sees the input first and takes what is
// meant for the adjustment bar (arrow and trough clicks, its keys, wheel notches over it) as
// steps, so that none is lost; the rest goes on to be held back. A key held down adds no steps of
// its own meanwhile: it repeats once the line is free again.

#include <QObject>

namespace korvane::app {

class TuneScrollBar;

class StepsWhileSending : public QObject {
public:
    explicit StepsWhileSending(TuneScrollBar& bar);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TuneScrollBar& m_bar;
};

} // namespace korvane::app
