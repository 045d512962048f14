// Where the entry list's time goes: the real CEntryListView on the display of a test session,
// over databases of one vehicle with many entries, beside two floors measured in the same run on
// the same control.
//
//   entrylist_bench [entries ...] [-r rounds]      (default: 1000 10000 100000, 3 rounds; 1 round
//                                                   above 20,000 entries)
//
// Each size gets a database of its own, made from Default.ENU beside the program in the temporary
// folder (dates, odometers, amounts and captions drawn with ties, in no sorted order) and removed
// at the end. Every figure is the best of its rounds, in milliseconds of wall time:
//
//   load       CDataLayer::Load of the vehicle's entries
//   format     the four texts of every row formatted as the list shows them
//   fill       Refresh with no sorted column, messages pumped to idle, less the load
//   insert     fill less format: what the list spends getting the texts into the control
//   refresh    Refresh sorted by date ascending, as at start-up, to idle
//   sort c d   SortItems on column c (date, description, odometer, amount), d ascending/descending
//   quick stats    CQuickStats::Compute over the same filter (the frame runs it after Refresh)
//   floor insert   the same rows, already formatted, put into the same control and nothing else:
//                  redraw off, the row count given, one insert and three sub-item texts a row,
//                  given straight to the list view's own procedure
//   floor insert, sent   the same, sent to the window: through the view's message map
//   floor sort     LVM_SORTITEMS on those rows with keys computed before (item data = key index)
//
// The ratios the list is held to are printed last: fill / floor insert, each sort / its floor,
// and refresh / (floor insert + floor sort by date + load).
//
// Run it in a test session (tools/wine-env --build build64 start; then
//   tools/wine-env --build build64 exec build64/tests/bench/entrylist_bench.exe 10000).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "business/AlkBiz.h"
#include "desktop/EntryListView.h"
#include "desktop/QuickStats.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "tests/bench/BenchSupport.h"
#include "tests/bench/EntryListData.h"
#include "tests/support/MessagePump.h"
#include "tests/support/SettingsScope.h"
#include "tests/support/TestFiles.h"
#include "tests/support/ThreadLocale.h"

using namespace alk_bench;

namespace {

const char* const kColumns[4] = {"date", "description", "odometer", "amount"};

// The best of rounds calls of f, in seconds.
template <class F>
double Best(int rounds, F f)
{
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        const double start = Seconds();
        f();
        best = std::min(best, Seconds() - start);
    }
    return best;
}

// The four texts of a row, as the list shows them.
struct RowTexts {
    CString date, caption, odometer, amount;
};

RowTexts Format(const CEntry& entry)
{
    return RowTexts{FormatDate(entry.GetDate()), FormatEntryCaption(entry),
                    FormatNumber(static_cast<float>(entry.GetOdometer()), false, false),
                    FormatNumber(entry.GetAmount(), true, true)};
}

// The keys of the floor's sort, computed before it; item data is the index of a row's keys. The
// floor compares them by the list's own rule (CEntryListView::CompareRows).
struct FloorKeys {
    double date;
    const wchar_t* caption;
    long odometer;
    float amount;
    double Date() const { return date; }
    const wchar_t* Caption() const { return caption; }
    long Odometer() const { return odometer; }
    float Amount() const { return amount; }
};
struct FloorSort {
    const std::vector<FloorKeys>* keys;
    int column;
    bool ascending;
};

int CALLBACK CompareFloor(LPARAM first, LPARAM second, LPARAM sort)
{
    const FloorSort& s = *reinterpret_cast<const FloorSort*>(sort);
    const FloorKeys& x = (*s.keys)[static_cast<size_t>(s.ascending ? first : second)];
    const FloorKeys& y = (*s.keys)[static_cast<size_t>(s.ascending ? second : first)];
    return CEntryListView::CompareRows(x, y, s.column);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

struct Figures {
    double load, format, fill, refresh, floorInsert, floorInsertSent, quickStats;
    double sort[4][2], floorSort[4][2];
};

bool Measure(int entries, int rounds, HWND host, Figures* f)
{
    CScratchFolder folder(L"alk-entrylist-bench");
    const std::wstring path = folder.File(L"bench.dat");
    if (!CopyTemplate(path)) {
        std::fprintf(stderr, "no Default.ENU beside the program\n");
        return false;
    }
    if (g_DataLayer.Connect(path.c_str()) != CDataLayer::csConnected) {
        std::fprintf(stderr, "cannot connect the database\n");
        return false;
    }
    struct Disconnect {
        ~Disconnect() { g_DataLayer.Disconnect(); }
    } disconnect;
    if (!FillBenchVehicle(g_DataLayer, entries)) {
        std::fprintf(stderr, "filling %d entries failed\n", entries);
        return false;
    }
    CEntryFilter filter;
    filter.SetVehicleID(kBenchVehicle);

    CObjectListT<CEntry> loaded;
    f->load = Best(rounds, [&] {
        loaded.Clear();
        g_DataLayer.Load(&loaded, &filter);
    });
    const int count = loaded.GetCount();
    if (count != entries) {
        std::fprintf(stderr, "loaded %d of %d entries\n", count, entries);
        return false;
    }
    CQuickStats stats;
    f->quickStats = Best(rounds, [&] { stats.Compute(&filter); });
    std::vector<RowTexts> texts;
    f->format = Best(rounds, [&] {
        texts.clear();
        texts.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) texts.push_back(Format(*loaded.Get(i)));
    });

    CEntryListView view;
    if (!view.Create(host, CRect(0, 0, 700, 500), nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_REPORT,
                     WS_EX_STATICEDGE, 100)) {
        std::fprintf(stderr, "cannot create the list\n");
        return false;
    }
    view.InitColumns();
    PumpMessages();

    // The floors, on the same control: the rows' item data is the index of their keys.
    std::vector<FloorKeys> keys;
    for (int i = 0; i < count; ++i) {
        const CEntry& e = *loaded.Get(i);
        keys.push_back(FloorKeys{e.GetDate(), texts[static_cast<size_t>(i)].caption, e.GetOdometer(), e.GetAmount()});
    }
    CListViewCtrl control(view.m_hWnd);
    // The floor's messages go straight to the list view's own procedure; the same sent through
    // the window also pass the view's message map (and the look-up of the object bound to it).
    // The view's window class is a superclass of the list view's: the procedure is the system
    // class's.
    WNDCLASSEXW listViewClass{};
    listViewClass.cbSize = sizeof listViewClass;
    if (!GetClassInfoExW(nullptr, WC_LISTVIEWW, &listViewClass)) return false;
    const WNDPROC listViewProc = listViewClass.lpfnWndProc;
    auto floorFill = [&](bool sent) {
        auto message = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
            return sent ? SendMessageW(view.m_hWnd, msg, wParam, lParam)
                        : CallWindowProcW(listViewProc, view.m_hWnd, msg, wParam, lParam);
        };
        control.SetRedraw(FALSE);
        control.SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        for (int i = 0; i < count; ++i) {
            const RowTexts& t = texts[static_cast<size_t>(i)];
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
            item.iItem = i;
            item.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(t.date));
            item.iImage = static_cast<int>(loaded.Get(i)->GetType()) - 1;
            item.lParam = i;
            const WPARAM row = static_cast<WPARAM>(message(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            const CString* sub[3] = {&t.caption, &t.odometer, &t.amount};
            for (int s = 0; s < 3; ++s) {
                LVITEMW text{};
                text.iSubItem = s + 1;
                text.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(*sub[s]));
                message(LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&text));
            }
        }
        control.SetRedraw(TRUE);
        control.Invalidate(TRUE);
        PumpMessages();
    };
    f->floorInsert = f->floorInsertSent = 1e30;
    for (int round = 0; round < rounds; ++round) {
        control.DeleteAllItems();
        PumpMessages();
        f->floorInsertSent = std::min(f->floorInsertSent, Best(1, [&] { floorFill(true); }));
        control.DeleteAllItems();
        PumpMessages();
        f->floorInsert = std::min(f->floorInsert, Best(1, [&] { floorFill(false); }));
    }
    for (int column = 0; column < 4; ++column)
        for (int descending = 0; descending < 2; ++descending) {
            FloorSort sort{&keys, column, descending == 0};
            f->floorSort[column][descending] = Best(rounds, [&] {
                control.SortItems(&CompareFloor, reinterpret_cast<LPARAM>(&sort));
                PumpMessages();
            });
        }
    control.DeleteAllItems();
    view.Refresh(nullptr);
    PumpMessages();

    // The list itself.
    g_AppSettings.LastColSorted = -1;
    const double unsorted = Best(rounds, [&] {
        view.Refresh(&filter);
        PumpMessages();
    });
    f->fill = unsorted - f->load;
    g_AppSettings.LastColSorted = 0;
    g_AppSettings.SortAscending = TRUE;
    f->refresh = Best(rounds, [&] {
        view.Refresh(&filter);
        PumpMessages();
    });
    for (int column = 0; column < 4; ++column)
        for (int descending = 0; descending < 2; ++descending) {
            g_AppSettings.SortAscending = descending == 0;
            f->sort[column][descending] = Best(rounds, [&] {
                view.SortItems(column);
                PumpMessages();
            });
        }
    if (view.GetItemCount() != count) {
        std::fprintf(stderr, "the list shows %d rows of %d\n", view.GetItemCount(), count);
        return false;
    }
    view.Refresh(nullptr);
    view.DestroyWindow();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    int rounds = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-r") == 0 && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (std::atoi(argv[i]) > 0)
            sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) sizes = {1000, 10000, 100000};

    CSettingsScope settings;  // the program's defaults: United States units, shading on
    CThreadLocale locale{CThreadLocale::UnitedStates()};
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AlkEntryListBench";
    RegisterClassW(&wc);
    HWND host = CreateWindowW(wc.lpszClassName, L"Entry list benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 740,
                              560, nullptr, nullptr, wc.hInstance, nullptr);
    if (!host) {
        std::fprintf(stderr, "no window: run it on the display of a test session\n");
        return 1;
    }

    std::vector<Figures> all(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int r = rounds > 0 ? rounds : (sizes[i] > 20000 ? 1 : 3);
        if (!Measure(sizes[i], r, host, &all[i])) return 1;
        std::fprintf(stderr, "%d entries measured (%d rounds)\n", sizes[i], r);
    }
    DestroyWindow(host);

    std::printf("milliseconds, best of the rounds\n%-22s", "entries");
    for (int n : sizes) std::printf("%12d", n);
    auto line = [&](const char* name, double (*get)(const Figures&)) {
        std::printf("\n%-22s", name);
        for (const Figures& f : all) std::printf("%12.1f", get(f) * 1000);
    };
    line("load", [](const Figures& f) { return f.load; });
    line("format", [](const Figures& f) { return f.format; });
    line("fill (format+insert)", [](const Figures& f) { return f.fill; });
    line("insert (fill-format)", [](const Figures& f) { return f.fill - f.format; });
    line("refresh, date sorted", [](const Figures& f) { return f.refresh; });
    for (int c = 0; c < 4; ++c)
        for (int d = 0; d < 2; ++d) {
            std::printf("\nsort %-11s %-5s", kColumns[c], d ? "desc" : "asc");
            for (const Figures& f : all) std::printf("%12.1f", f.sort[c][d] * 1000);
        }
    line("quick stats", [](const Figures& f) { return f.quickStats; });
    line("floor insert", [](const Figures& f) { return f.floorInsert; });
    line("floor insert, sent", [](const Figures& f) { return f.floorInsertSent; });
    for (int c = 0; c < 4; ++c)
        for (int d = 0; d < 2; ++d) {
            std::printf("\nfloor sort %-5s %-5s", c == 1 ? "descr" : kColumns[c], d ? "desc" : "asc");
            for (const Figures& f : all) std::printf("%12.1f", f.floorSort[c][d] * 1000);
        }
    std::printf("\n\nratios (held to: fill 2, each sort 2, refresh 3)");
    line("fill / floor insert", [](const Figures& f) { return f.fill / f.floorInsert / 1000; });
    double (*const worstSort)(const Figures&) = [](const Figures& f) {
        double worst = 0;
        for (int c = 0; c < 4; ++c)
            for (int d = 0; d < 2; ++d) worst = std::max(worst, f.sort[c][d] / f.floorSort[c][d]);
        return worst / 1000;
    };
    line("worst sort / floor", worstSort);
    line("refresh / floors+load",
         [](const Figures& f) { return f.refresh / (f.floorInsert + f.floorSort[0][0] + f.load) / 1000; });
    std::printf("\n");
    return 0;
}
