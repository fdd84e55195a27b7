#pragma once

#include <QFont>

// The fonts of the legends and hints, chosen through fontconfig once per process
// and copied by each window: the legend face is the installed Japanese font that
// stands in for "Meiryo UI", the hint face a monospaced Japanese font, so the
// coordinate hint can align its numbers with spaces. Both regular, with a
// character cell 16 pixels high.
const QFont& LegendFont();
const QFont& HintFont();
