// The picture pane as a real static control: the default picture and its hint, pictures that
// are missing, not pictures, or real BMP, GIF and JPEG files, and the stretched copy it keeps.
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/VehicleImage.h"
#include "framework/Gdi.h"
#include "ListsTestSupport.h"
#include "tests/support/Pictures.h"

namespace {

// red.jpg: 8x6 pixels, made with ImageMagick's convert
const unsigned char kRedJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01,
    0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02, 0x01, 0x01, 0x01, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04, 0x04, 0x03, 0x04, 0x06, 0x05, 0x06,
    0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06, 0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0b, 0x08,
    0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08, 0x0b, 0x0c, 0x0b, 0x0a, 0x0c, 0x09, 0x0a, 0x0a, 0x0a, 0xff,
    0xdb, 0x00, 0x43, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0a, 0x07, 0x06, 0x07,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0xff, 0xc0, 0x00, 0x11,
    0x08, 0x00, 0x06, 0x00, 0x08, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xff, 0xc4, 0x00,
    0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x08, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00, 0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c,
    0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x21, 0x82, 0xd5, 0x51, 0xff, 0xd9,
};
// blue.gif: 8x6 pixels, made with ImageMagick's convert
const unsigned char kBlueGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x08, 0x00, 0x06, 0x00, 0xf0, 0x00, 0x00, 0x1e, 0x1e, 0xc8,
    0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00,
    0x08, 0x00, 0x06, 0x00, 0x00, 0x02, 0x06, 0x84, 0x8f, 0xa9, 0xcb, 0x7d, 0x05, 0x00, 0x3b,
};

void WriteFile(const std::wstring& path, const void* data, size_t size)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

class CHostWindow : public CWindowImpl<CHostWindow, CWindow, CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0>> {
public:
    DECLARE_WND_CLASS(L"AlkPictureTestHost")
    // clang-format off
    BEGIN_MSG_MAP(CHostWindow)
    END_MSG_MAP()
    // clang-format on
};

class PicturePane : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.Create(nullptr, CRect(100, 100, 500, 500), L"Picture host"));
        m_host.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_pane.Create(m_host, CRect(10, 10, 210, 160), nullptr,
                                  WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE | SS_REALSIZEIMAGE | SS_NOTIFY,
                                  WS_EX_STATICEDGE, 1001));
        m_pane.SetPicture(nullptr);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"alk-picture-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        for (const std::wstring& file : m_files) DeleteFileW(file.c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    std::wstring File(const wchar_t* name)
    {
        m_files.push_back(m_folder + L"\\" + name);
        return m_files.back();
    }
    HBITMAP Shown() { return m_pane.GetBitmap(); }
    SIZE ClientSize()
    {
        CRect rc;
        m_pane.GetClientRect(&rc);
        return SIZE{rc.Width(), rc.Height()};
    }
    void ExpectDefaultPicture()
    {
        EXPECT_TRUE(m_pane.IsDefaultPicture());
        const SIZE size = BitmapSize(Shown());
        EXPECT_EQ(160, size.cx);  // its own size, not the pane's
        EXPECT_EQ(120, size.cy);
    }
    void ExpectStretched(COLORREF color)
    {
        EXPECT_FALSE(m_pane.IsDefaultPicture());
        const SIZE size = BitmapSize(Shown());
        const SIZE client = ClientSize();
        EXPECT_EQ(client.cx, size.cx);
        EXPECT_EQ(client.cy, size.cy);
        EXPECT_TRUE(ColoursNear(color, CentrePixel(Shown()))) << std::hex << CentrePixel(Shown());
    }

    CHostWindow m_host;
    CVehicleImage m_pane;
    std::wstring m_folder;
    std::vector<std::wstring> m_files;
};

TEST_F(PicturePane, PicturesThatCannotBeShownGiveTheDefault)
{
    ExpectDefaultPicture();

    const std::wstring text = File(L"notes.jpg");
    const char words[] = "This is a text file, not a picture.";
    WriteFile(text, words, sizeof words);
    const std::wstring empty = File(L"empty.bmp");
    WriteFile(empty, "", 0);
    const std::wstring cut = File(L"cut.jpg");
    WriteFile(cut, kRedJpeg, 40);  // a JPEG that ends early

    for (const std::wstring& path : {m_folder + L"\\missing.bmp", text, empty, cut, std::wstring()}) {
        SCOPED_TRACE(testing::Message() << "path " << path.size());
        m_pane.SetPicture(path.c_str());
        ExpectDefaultPicture();
        EXPECT_FALSE(m_pane.LoadPictureFile(path.c_str()));
    }
}

TEST_F(PicturePane, LockedFileGivesTheDefault)
{
    const std::wstring path = File(L"locked.bmp");
    WriteBitmapFile(path, 8, 8, RGB(0, 200, 0));
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    m_pane.SetPicture(path.c_str());
    ExpectDefaultPicture();
    CloseHandle(lock);
    m_pane.SetPicture(path.c_str());
    ExpectStretched(RGB(0, 200, 0));
}

TEST_F(PicturePane, RealPicturesAreStretchedToThePane)
{
    const std::wstring bmp = File(L"green.bmp");
    WriteBitmapFile(bmp, 33, 17, RGB(20, 180, 40));
    const std::wstring gif = File(L"blue.gif");
    WriteFile(gif, kBlueGif, sizeof kBlueGif);
    const std::wstring jpeg = File(L"red.jpg");
    WriteFile(jpeg, kRedJpeg, sizeof kRedJpeg);

    m_pane.SetPicture(bmp.c_str());
    ExpectStretched(RGB(20, 180, 40));
    m_pane.SetPicture(gif.c_str());
    ExpectStretched(RGB(30, 30, 200));
    m_pane.SetPicture(jpeg.c_str());
    ExpectStretched(RGB(200, 30, 30));
    // Back to no picture.
    m_pane.SetPicture(nullptr);
    ExpectDefaultPicture();
}

TEST_F(PicturePane, PictureOfThePanesSizeIsShownAsItIs)
{
    const SIZE client = ClientSize();
    const std::wstring bmp = File(L"exact.bmp");
    WriteBitmapFile(bmp, client.cx, client.cy, RGB(250, 200, 0));
    m_pane.SetPicture(bmp.c_str());
    ExpectStretched(RGB(250, 200, 0));
    // Growing the pane makes a copy; shrinking back shows the source again and frees the copy.
    const HBITMAP source = Shown();
    m_pane.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    const HBITMAP copy = Shown();
    EXPECT_NE(source, copy);
    m_pane.SetWindowPos(nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(source, Shown());
    EXPECT_EQ(0u, GetObjectType(copy));
}

TEST_F(PicturePane, ResizingKeepsExactlyOneStretchedCopy)
{
    const std::wstring bmp = File(L"resize.bmp");
    WriteBitmapFile(bmp, 64, 48, RGB(100, 100, 255));
    m_pane.SetPicture(bmp.c_str());

    std::vector<HBITMAP> shown{Shown()};
    for (int step = 1; step <= 12; ++step) {
        m_pane.SetWindowPos(nullptr, 0, 0, 100 + step * 17, 80 + step * 9, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
        shown.push_back(Shown());
        ExpectStretched(RGB(100, 100, 255));
        int alive = 0;
        for (HBITMAP bitmap : std::set<HBITMAP>(shown.begin(), shown.end()))
            alive += GetObjectType(bitmap) == OBJ_BITMAP;
        EXPECT_EQ(1, alive) << "step " << step;
    }
    // A new picture frees the copy of the old one.
    m_pane.SetPicture(nullptr);
    EXPECT_EQ(0u, GetObjectType(shown.back()));
}

// Ends the first message box that appears while the pane handles a click, and reads its text.
struct MessageBoxWatch {
    static MessageBoxWatch*& Current()
    {
        static MessageBoxWatch* current = nullptr;
        return current;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
    {
        MessageBoxWatch* self = Current();
        HWND box = FindWindowW(L"#32770", L"Autolark");
        if (!self || !box) return;
        KillTimer(nullptr, id);
        self->owner = GetWindow(box, GW_OWNER);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[512] = {};
            GetWindowTextW(child, text, 512);
            self->texts.push_back(text);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    MessageBoxWatch()
    {
        Current() = this;
        timer = SetTimer(nullptr, 0, 30, &Fire);
    }
    ~MessageBoxWatch()
    {
        KillTimer(nullptr, timer);
        Current() = nullptr;
    }
    UINT_PTR timer;
    HWND owner = nullptr;
    std::vector<std::wstring> texts;
};

TEST_F(PicturePane, ClickOnTheDefaultPictureExplainsHowToSetOne)
{
    {
        MessageBoxWatch watch;
        m_pane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        EXPECT_EQ(static_cast<HWND>(m_host), watch.owner);
        bool found = false;
        for (const std::wstring& text : watch.texts)
            found |= text ==
                     L"To assign or change the picture, right-click on a vehicle in the list above and "
                     L"select Edit from the popup menu.";
        EXPECT_TRUE(found);
    }
    const std::wstring bmp = File(L"user.bmp");
    WriteBitmapFile(bmp, 10, 10, RGB(1, 2, 3));
    m_pane.SetPicture(bmp.c_str());
    // A user picture: the click shows nothing (a box would keep this call from returning).
    MessageBoxWatch watch;
    m_pane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_TRUE(watch.texts.empty());
    EXPECT_EQ(nullptr, FindWindowW(L"#32770", L"Autolark"));
}

}  // namespace
