#pragma once

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

// One application for the whole test run, drawing off screen; the user's settings stay untouched.
inline void offscreenApplication()
{
    static QTemporaryDir settings;
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("qt-test"), nullptr};
    if (qApp)
        return;
    setenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}
