#pragma once

#include <QStringList>

class THandSink;

// Reads the lines of one hand-history text and hands each finished raked hand
// to the sink. Returns the number of hands handed over; what the sink raises
// passes through to the caller.
int ImportHands(THandSink& sink, const QStringList& lines);
