#pragma once

class QLabel;
class QWidget;

// Small animation helpers shared by the main window's pages.

// Advances the three-dot animation of a rich-text label by one step: 0, 1, 2, 3, 0 ...
// visible dots, always three dot places before the first "</p>".
void updateLoadingDots(QLabel *label);

// Lets the widget rise 25 pixels into (0, targetY) while it fades in.
void slideFadeIn(QWidget *widget, const int &targetY, const int &durationMs);

// Gives the widget its own opacity effect (fully opaque), so a later fade starts from it.
void installOpacityEffect(QWidget *widget);
