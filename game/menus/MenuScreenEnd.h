#pragma once
// The end shared by the menu screens that close with their panel's slide-out.

class cMenuPanel;
class cMenuScreen;

// While *closing is set and the panel is no longer visible: clears *closing, hides and
// disables the screen and sets its finished flag. Call it every frame from the update.
void finishOncePanelHidden(cMenuScreen& screen, const cMenuPanel& panel, bool* closing);
