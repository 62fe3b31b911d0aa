#pragma once

#include "ui/modelbinder.h"

#include <QStringList>

class QWidget;

namespace morvane {

// The Designer forms of the main window's pages (src/ui/tab_*.ui) and what
// each gives its named controls before any logic runs, so that the window
// can build a page when it is first needed and still have the model learn
// the form's state at its start (ModelBinder::defer).
// tests/ui/tst_pageforms.cpp holds the lists against the forms.

// The forms of the pages: every route's of the built-in table, and Help's.
QStringList pageForms();
// The named controls of `form` below its page, in the order a binder meets
// them, with what the form gives them; empty for another form.
const FormControls& pageFormControls(const QString& form);
// A page of `form` as its Designer file makes it, outside any window;
// nullptr for another form.
QWidget* newPageOfForm(const QString& form);

} // namespace morvane
