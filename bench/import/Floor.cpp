// bench_floor CORPUS ROWS_DB OUT_DB [tuned]: the floor of an import, with no Qt in its
// path. It reads every file of the corpus folder and writes exactly the rows
// that an import of that folder wrote (read beforehand from ROWS_DB, the
// import's own database, in the order the import wrote them) with the same
// calls the import makes: one transaction, a fresh prepare of each statement
// per hand, a step per Master row and a step and reset per Detail row, text
// bound as UTF-8, the engine as it comes (no configuration of its own, the C
// library's allocator). With "tuned" the engine is configured as the program
// configures it (no heap accounting, single-thread mode); run.sh then also
// preloads the program's allocator, so that the ratio to it is the cost of the
// program's own code alone. Prints the processor time of the reading and writing (all
// threads) and the wall time.
#include <dirent.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
struct TShare
{
    std::string Player;
    double Share;
};

struct THand
{
    int Hand = 0;
    std::string Table, Date, Time;
    double Rake = 0;
    int Dealt = 0;
    double AvgShare = 0;
    std::vector<TShare> Shares;
};

[[noreturn]] void Fail(const char* what, sqlite3* db)
{
    std::fprintf(stderr, "bench_floor: %s: %s\n", what, db ? sqlite3_errmsg(db) : "");
    std::exit(1);
}

std::string Text(sqlite3_stmt* s, int c)
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
    return t ? std::string(t, size_t(sqlite3_column_bytes(s, c))) : std::string();
}

// The hands in the order the import wrote them: the Detail table's rowids
// keep the order of its inserts, and every written hand has Detail rows.
std::vector<THand> LoadRows(const char* path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        Fail("cannot open the rows", db);
    std::map<int, THand> masters;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT Hand, TableName, Date, Time, Rake, Dealt, AvgShare FROM Master", -1, &s,
                       nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        THand h;
        h.Hand = sqlite3_column_int(s, 0);
        h.Table = Text(s, 1);
        h.Date = Text(s, 2);
        h.Time = Text(s, 3);
        h.Rake = sqlite3_column_double(s, 4);
        h.Dealt = sqlite3_column_int(s, 5);
        h.AvgShare = sqlite3_column_double(s, 6);
        masters[h.Hand] = std::move(h);
    }
    sqlite3_finalize(s);
    std::vector<THand> hands;
    sqlite3_prepare_v2(db, "SELECT Hand, Player, Share FROM Detail ORDER BY rowid", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int hand = sqlite3_column_int(s, 0);
        if (hands.empty() || hands.back().Hand != hand) {
            auto found = masters.find(hand);
            if (found == masters.end())
                Fail("a Detail row without its Master row", nullptr);
            hands.push_back(std::move(found->second));
            masters.erase(found);
        }
        hands.back().Shares.push_back({Text(s, 1), sqlite3_column_double(s, 2)});
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    if (!masters.empty())
        Fail("Master rows without Detail rows", nullptr);
    return hands;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Run(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(sql, db);
}

sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
        Fail(sql, db);
    return s;
}

void Step(sqlite3* db, sqlite3_stmt* s)
{
    if (sqlite3_step(s) != SQLITE_DONE)
        Fail("step", db);
}

void BindText(sqlite3_stmt* s, int index, const std::string& text)
{
    sqlite3_bind_text(s, index, text.data(), int(text.size()), SQLITE_STATIC);
}
} // namespace

int main(int argc, char** argv)
{
    const bool tuned = argc == 5 && std::strcmp(argv[4], "tuned") == 0;
    if (argc != 4 && !tuned) {
        std::fprintf(stderr, "usage: bench_floor CORPUS ROWS_DB OUT_DB [tuned]\n");
        return 2;
    }
    if (tuned) {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        sqlite3_config(SQLITE_CONFIG_SINGLETHREAD);
    }
    const std::vector<THand> hands = LoadRows(argv[2]);
    std::vector<std::string> files;
    if (DIR* dir = opendir(argv[1])) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                files.push_back(std::string(argv[1]) + "/" + entry->d_name);
        closedir(dir);
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[3], &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        Fail("cannot create the output", db);
    Run(db, "CREATE TABLE Master (Hand INTEGER PRIMARY KEY, TableName TEXT, Date TEXT, Time TEXT, "
            "Rake REAL, Dealt INTEGER, AvgShare REAL);");
    Run(db, "CREATE TABLE Detail (Hand INTEGER, Player TEXT, Share REAL, PRIMARY KEY (Hand, Player));");

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    std::vector<char> buffer;
    size_t bytes = 0;
    for (const std::string& path : files) {
        FILE* file = std::fopen(path.c_str(), "rb");
        if (!file)
            continue;
        std::fseek(file, 0, SEEK_END);
        buffer.resize(size_t(std::ftell(file)));
        std::fseek(file, 0, SEEK_SET);
        bytes += std::fread(buffer.data(), 1, buffer.size(), file);
        std::fclose(file);
    }
    Run(db, "BEGIN DEFERRED TRANSACTION;");
    size_t rows = 0;
    for (const THand& h : hands) {
        sqlite3_stmt* master =
            Prepare(db, "REPLACE INTO Master (Hand, TableName, Date, Time, Rake, Dealt, AvgShare) "
                        "VALUES(?, ?, ?, ?, ?, ?, ?);");
        sqlite3_bind_int(master, 1, h.Hand);
        BindText(master, 2, h.Table);
        BindText(master, 3, h.Date);
        BindText(master, 4, h.Time);
        sqlite3_bind_double(master, 5, h.Rake);
        sqlite3_bind_int(master, 6, h.Dealt);
        sqlite3_bind_double(master, 7, h.AvgShare);
        Step(db, master);
        sqlite3_finalize(master);
        sqlite3_stmt* detail = Prepare(db, "REPLACE INTO Detail (Hand, Player, Share) VALUES(?, ?, ?);");
        for (const TShare& s : h.Shares) {
            sqlite3_bind_int(detail, 1, h.Hand);
            BindText(detail, 2, s.Player);
            sqlite3_bind_double(detail, 3, s.Share);
            Step(db, detail);
            sqlite3_reset(detail);
            ++rows;
        }
        sqlite3_finalize(detail);
        ++rows;
    }
    Run(db, "COMMIT TRANSACTION;");
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    sqlite3_close(db);
    std::printf("floor cpu %.3f s wall %.3f s (%zu files, %.1f MB read, %zu hands, %zu rows)\n", cpu, wall,
                files.size(), double(bytes) / 1e6, hands.size(), rows);
    return 0;
}
