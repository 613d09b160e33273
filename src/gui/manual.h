#pragma once

#include <QString>
#include <QStringList>

namespace orvalle::gui {

// The places of the HTML manual's table of contents, in the order they are
// tried: the installed manual beside the program (<prefix>/share/doc/orvalle,
// /usr/share/doc/orvalle for the Debian package), then the manual of the
// build folder, for a program run where it was built.
QStringList manualCandidates();

// The first of manualCandidates() that exists; empty when none does.
QString manualIndexPath();

}  // namespace orvalle::gui
