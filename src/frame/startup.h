#pragma once
// Pieces of the start-up that are plain functions of their input.
#include <QString>

// The splash picture that fits a client area of the given width in pixels exactly:
// "splash 640.jpg", "splash 800.jpg" or "splash 1024.jpg"; "" for every other width.
QString SplashFileName(int innerWidthPixels);

// The file a command line names after its quotes are dropped: a leading and a trailing double
// quote each go, independently. "" when the command line is shorter than 5 characters.
QString CommandLineFileName(const QString& commandLine);
