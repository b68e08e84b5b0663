#pragma once

#include "db/ResultTable.h"

#include <QString>
#include <memory>

class TRakeDatabase;
class TStatement;

// A read-only, forward-only result source with one SQL text. Setting SelectSQL
// compiles the text at once, so a rejected text fails there; parameters in the
// text are never bound and read as NULL.
class TQuery
{
public:
    explicit TQuery(TRakeDatabase& database);
    ~TQuery();
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    void SetSelectSQL(const QString& sql);
    const QString& SelectSQL() const { return FSelectSQL; }

    // Runs the statement and loads every row, with the column typing rules.
    std::shared_ptr<TResultTable> Open();
    void Close();

private:
    TRakeDatabase& FDatabase;
    QString FSelectSQL;
    std::unique_ptr<TStatement> FStatement;
};
