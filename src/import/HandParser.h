#pragma once

#include <QStringList>

class TRakeDatabase;
class THandWriter;

// Reads the lines of one hand-history text and writes its raked hands, inside
// the transaction the caller holds. Returns the number of hands written.
// Errors of the database pass through to the caller.
int ImportHands(TRakeDatabase& database, const QStringList& lines);

// The same within a run that writes through one writer for all its texts.
int ImportHands(THandWriter& writer, const QStringList& lines);
