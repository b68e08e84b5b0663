#include "reports/DatabaseBrowser.h"

#include "db/RakeDatabase.h"
#include "platform/Busy.h"
#include "platform/Error.h"

namespace {
constexpr int BrowserDecimals = 2;
constexpr int BrowserRealWidth = 100;

const QStringList& MasterTitles()
{
    static const QStringList titles = {"Hand", "TableName", "Date", "Time", "Rake", "Dealt", "AvgShare"};
    return titles;
}

const QStringList& DetailTitles()
{
    static const QStringList titles = {"Hand", "Player", "Share"};
    return titles;
}
} // namespace

TDatabaseBrowser::TDatabaseBrowser(TRakeDatabase& database, TStatusWriter masterStatus,
                                   TStatusWriter detailStatus, TBusyHook busy, TWaitHook wait)
    : MasterQuery(database), DetailQuery(database),
      MasterModel(MasterClientDataSet, BrowserDecimals, BrowserRealWidth),
      DetailModel(DetailClientDataSet, BrowserDecimals, BrowserRealWidth), FDatabase(database),
      FMasterStatus(std::move(masterStatus)), FDetailStatus(std::move(detailStatus)), FBusy(std::move(busy)),
      FWait(std::move(wait))
{
    MasterModel.SetClosedTitles(MasterTitles());
    MasterModel.SetBoldColumn(FSortField);
    MasterModel.SetSortIndicator(FSortField, FSortDescending);
    DetailModel.SetClosedTitles(DetailTitles());
    MasterClientDataSet.SetAfterScroll([this] { ShowMasterPosition(); });
    DetailClientDataSet.SetAfterScroll([this] { ShowDetailPosition(); });
    MasterClientDataSet.AddObserver(this);
}

TDatabaseBrowser::~TDatabaseBrowser()
{
    MasterClientDataSet.RemoveObserver(this);
}

QString TDatabaseBrowser::MasterSQL(const QString& sortField, bool descending)
{
    return QStringLiteral("SELECT * FROM Master ORDER BY ") + sortField +
           (descending ? QStringLiteral(" DESC") : QString());
}

void TDatabaseBrowser::SetStatements()
{
    MasterQuery.SetSelectSQL(MasterSQL(FSortField, FSortDescending));
    DetailQuery.SetSelectSQL(QLatin1String(DetailSQL));
}

void TDatabaseBrowser::CloseBoth()
{
    FDetailIndex.reset();
    FMasterHandColumn = -1;
    DetailClientDataSet.Close();
    MasterClientDataSet.Close();
}

void TDatabaseBrowser::OpenViews()
{
    CloseBoth();
    FMasterStatus(QStringLiteral("Loading Master table ..."));
    FDetailStatus(QStringLiteral("Loading Detail table ..."));
    std::shared_ptr<TResultTable> master, detail;
    std::unique_ptr<TKeyIndex> detailIndex;
    try {
        TBusyScope busy(FBusy);
        // Everything is read before the views show it: no statement stays
        // open, so nothing holds up an import's commit.
        RunWaiting(FWait, [&] {
            // A start-up that failed before the statements were set leaves them empty.
            if (MasterQuery.SelectSQL().isEmpty())
                MasterQuery.SetSelectSQL(MasterSQL(FSortField, FSortDescending));
            master = MasterQuery.Open();
            if (DetailQuery.SelectSQL().isEmpty())
                DetailQuery.SetSelectSQL(QLatin1String(DetailSQL));
            detail = DetailQuery.Open();
            for (int c = 0; c < detail->ColumnCount(); ++c)
                if (detail->Columns()[c].Name == QLatin1String("Hand")) {
                    detailIndex = std::make_unique<TKeyIndex>(detail, c);
                    break;
                }
        });
    } catch (const TCancelled&) {
        // Half a browser (hands without their shares) would mislead: both stay closed.
        FMasterStatus(QStringLiteral("Query cancelled"));
        FDetailStatus(QStringLiteral("Query cancelled"));
        return;
    }
    MasterClientDataSet.Open(std::move(master));
    DetailClientDataSet.Open(std::move(detail));
    FDetailIndex = std::move(detailIndex);
    FMasterHandColumn = MasterClientDataSet.FieldIndex(QStringLiteral("Hand"));
    MasterModel.SetBoldColumn(FSortField);
    {
        TScrollDetach quiet(DetailClientDataSet); // both positions are shown just below
        FollowMaster();
    }
    ShowMasterPosition();
    ShowDetailPosition();
}

void TDatabaseBrowser::CloseViews()
{
    CloseBoth();
    FMasterStatus(QString());
    FDetailStatus(QString());
}

void TDatabaseBrowser::MasterGridTitleClick(const QString& columnName)
{
    if (columnName != FSortField) {
        FSortField = columnName;
        FSortDescending = false;
    } else {
        FSortDescending = !FSortDescending;
    }
    MasterModel.SetBoldColumn(FSortField);
    MasterModel.SetSortIndicator(FSortField, FSortDescending);
    MasterQuery.SetSelectSQL(MasterSQL(FSortField, FSortDescending));
    OpenViews();
}

void TDatabaseBrowser::EmptyConfirmed()
{
    CloseViews();
    TBusyScope busy(FBusy);
    FDatabase.EmptyDatabase();
}

void TDatabaseBrowser::ShowMasterPosition()
{
    FMasterStatus(QStringLiteral("Master record %1 of %2")
                      .arg(MasterClientDataSet.Position())
                      .arg(MasterClientDataSet.RowCount()));
}

void TDatabaseBrowser::ShowDetailPosition()
{
    FDetailStatus(QStringLiteral("Detail record %1 of %2")
                      .arg(DetailClientDataSet.Position())
                      .arg(DetailClientDataSet.RowCount()));
}

void TDatabaseBrowser::DataViewCurrentChanged()
{
    FollowMaster();
}

// The detail view shows the rows of the master's current hand, on the first of them.
void TDatabaseBrowser::FollowMaster()
{
    if (!DetailClientDataSet.Active())
        return;
    const int row = MasterClientDataSet.CurrentRow();
    if (!FDetailIndex || FMasterHandColumn < 0 || row < 0 ||
        MasterClientDataSet.IsNull(row, FMasterHandColumn)) {
        DetailClientDataSet.SelectRows(nullptr, 0, 0);
        return;
    }
    const auto [first, last] = FDetailIndex->Range(MasterClientDataSet.Integer(row, FMasterHandColumn));
    DetailClientDataSet.SelectRows(FDetailIndex->Order(), first, last);
}
