// What screen readers see of the skinned controls that have no Qt base with a
// role of its own: labels read as static text, group boxes as groupings,
// progress bars with their value, the status bar with its panels' texts.
#pragma once

class QObject;
class QString;

// Installed once, by the first control made.
void InstallControlAccessibility();

// Tells a listening reader that the control's name (caption, status text) changed.
void NameChanged(QObject* control);

// A caption as a reader says it: accelerator ampersands removed ("&&" is "&").
QString AccessibleCaption(const QString& caption);
