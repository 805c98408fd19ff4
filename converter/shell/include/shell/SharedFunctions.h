#pragma once

#include <QWidget>

#include "platform/SettingsStore.h"
#include "shell/ConverterState.h"

namespace tess {

class frmMain;

// Functions that several of the converter's windows share.

// Whether the user switched tooltips off: the stored "Tooltips" is exactly "0".
bool TooltipsDisabled(const SettingsStore& settings);

// Called by a window from its load with itself: when tooltips are off, clears the tooltips of
// that window's listed controls, found by their object names. The window is recognised by its
// object name ("frmMain", "frmCResize", "frmCSS", "frmGFXLib"); any other window is left alone.
// Texts already cleared are never restored.
void ApplyTooltipSetting(QWidget& window, const SettingsStore& settings);

// Called by each dialog from its load with itself, to give it the main window's transparency.
// Dialogs stay opaque until the transparency menu applies its choice to them as well.
void ApplyTransparency(QWidget& window, const ConverterState& state);

// Called first at shut-down: keeps the main window's position for the next start when the user
// asked for that.
void SaveWindowState(frmMain& main);

// Whether windows can be made translucent; every desktop the converter runs on can.
bool IsWin2000OrLater();

}  // namespace tess
