#pragma once
// The transition control with its settings published as properties, so they
// can be read and written by name (property editors, scripts, tests).

#include "transitions/control/TCustomPic_Trans.h"

namespace scr {

class TPic_Trans : public TCustomPic_Trans {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int BgMode READ BgModeValue WRITE SetBgModeValue)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(int Delay READ DelayValue WRITE SetDelayValue)
    Q_PROPERTY(bool Manual READ Manual WRITE SetManual)
    Q_PROPERTY(bool Reverse READ Reverse WRITE SetReverse)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool StretchFine READ StretchFine WRITE SetStretchFine)
    Q_PROPERTY(int Step READ StepValue WRITE SetStepValue)
    Q_PROPERTY(int Style READ StyleValue WRITE SetStyleValue)
    Q_PROPERTY(bool Threaded READ Threaded WRITE SetThreaded)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

public:
    using TCustomPic_Trans::TCustomPic_Trans;

private:
    int BgModeValue() const { return static_cast<int>(BgMode()); }
    void SetBgModeValue(int v) { SetBgMode(static_cast<TBackgroundMode>(std::clamp(v, 0, 3))); }
    int DelayValue() const { return Delay(); }
    void SetDelayValue(int v) { SetDelay(static_cast<uint16_t>(std::clamp(v, 0, 65535))); }
    int StepValue() const { return Step(); }
    void SetStepValue(int v) { SetStep(static_cast<uint16_t>(std::clamp(v, 0, 65535))); }
    int StyleValue() const { return Style(); }
    void SetStyleValue(int v) { SetStyle(static_cast<TShowStyle>(std::clamp(v, 0, 255))); }
};

} // namespace scr
