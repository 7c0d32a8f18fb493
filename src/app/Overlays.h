#pragma once

#include <QLabel>

// What the graph window shows over its picture and never in it.

// The mouse gestures of the graph window, for the head of its help.
extern const char* const kMouseHelp;

// A label stacked above the GL surface, hidden until shown.
QLabel* OverlayLabel(QWidget* parent, int pixels, const char* text, Qt::Alignment align);
// Shows text in the window's top left corner, or the top right one when the pointer
// is near the left.
void ShowInTopCorner(QLabel* label, const QString& text, QPoint pointer);
// Shows the label in the middle of the window.
void ShowInMiddle(QLabel* label);
// Shows text in the window's bottom left corner, its lines broken to the window's width.
void ShowInBottomCorner(QLabel* label, const QString& text);
