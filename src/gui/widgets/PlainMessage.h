#pragma once

#include <QString>

class QWidget;

// A message box with the text and an OK button, no icon, titled with the
// parent window's caption.
void ShowPlainMessage(QWidget *parent, const QString &text);
