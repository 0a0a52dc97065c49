#pragma once

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

// The control of a window by its object name, as the window tests find
// them; a missing one fails the test.
template <typename W>
W *NamedChild(const QObject &window, const char *name)
{
    W *widget = window.findChild<W *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}
