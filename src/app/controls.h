#pragma once

#include <QColor>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tabulon::app {

// The window is laid out at fixed pixel places, as the register engineers
// know it; these make one named control at its place.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                        int w, int h);
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y);
QLineEdit* makeEdit(QWidget* parent, const QString& name, int x, int y, int w, int h = 21);
QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QString& caption, int x, int y,
                        int w, int h = 17);

void setTextColor(QLabel* label, const QColor& color);

}  // namespace tabulon::app
