// The precompiled header of the GUI library: the core library's, and the
// widget headers most of its windows and dialogs include.

#include "precompiled_core.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
