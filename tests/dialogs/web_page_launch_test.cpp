#include <windows.h>
#include <shellapi.h>

#include "dialogs/com_ptr.h"
#include "dialogs/web_page_launch.h"
#include "support/temp_folder.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DirectCall {
    HWND owner;
    std::wstring verb;
    std::wstring file;
    bool hasParameters;
    bool hasDirectory;
    INT show;
};

std::vector<std::wstring> desktopCalls;
std::vector<DirectCall> directCalls;
bool desktopAnswers = false;
INT_PTR directAnswer = 42;

bool FakeDesktopShell(const wchar_t* address) {
    desktopCalls.emplace_back(address);
    return desktopAnswers;
}

HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT show) {
    directCalls.push_back(DirectCall{owner, verb ? verb : L"<null>", file ? file : L"<null>",
                                     parameters != nullptr, directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(directAnswer);
}

class WebPageLaunchTest : public testing::Test {
protected:
    void SetUp() override {
        desktopCalls.clear();
        directCalls.clear();
    }
    WebPageLaunch Open() { return OpenWebPageWith(owner_, L"https://page.example/", launchers_); }
    const HWND owner_ = reinterpret_cast<HWND>(0x1234);
    const WebPageLaunchers launchers_{FakeDesktopShell, FakeShellExecute};
};

TEST_F(WebPageLaunchTest, TheDesktopShellOpensThePageWhereThereIsOne) {
    desktopAnswers = true;
    EXPECT_EQ(WebPageLaunch::ThroughDesktopShell, Open());
    EXPECT_EQ(std::vector<std::wstring>{L"https://page.example/"}, desktopCalls);
    EXPECT_TRUE(directCalls.empty()) << "never also from the elevated process";
}

TEST_F(WebPageLaunchTest, WithoutADesktopShellThePageOpensDirectlyOnce) {
    desktopAnswers = false;
    directAnswer = 42;
    EXPECT_EQ(WebPageLaunch::Direct, Open());
    EXPECT_EQ(1u, desktopCalls.size());
    ASSERT_EQ(1u, directCalls.size());
    EXPECT_EQ(owner_, directCalls[0].owner);
    EXPECT_EQ(L"open", directCalls[0].verb);
    EXPECT_EQ(L"https://page.example/", directCalls[0].file);
    EXPECT_FALSE(directCalls[0].hasParameters);
    EXPECT_FALSE(directCalls[0].hasDirectory);
    EXPECT_EQ(SW_SHOWMAXIMIZED, directCalls[0].show);

    directAnswer = SE_ERR_NOASSOC;
    EXPECT_EQ(WebPageLaunch::Failed, Open()) << "ShellExecuteW fails with 32 or less";
}

// The desktop's shell is another process (explorer.exe, under Wine too): what it starts shows that
// the request went the whole documented way through it.
TEST(OpenThroughDesktopShell, TheDesktopShellStartsWhatItIsGiven) {
    TempFolder folder;
    const std::wstring script = folder / L"start.bat";
    const std::wstring marker = folder / L"started.txt";
    const std::string markerText(marker.begin(), marker.end());
    WriteTestFile(script, "@echo started>\"" + markerText + "\"\r\n");
    ASSERT_TRUE(OpenThroughDesktopShell(script.c_str())) << "no desktop shell took the request";
    EXPECT_TRUE(PumpUntil([&] { return PathExists(marker); }, 20000));
    // The script's console may still hold it for a moment.
    PumpUntil([&] { return DeleteFileW(script.c_str()) != FALSE; }, 10000);
}

// An object that counts its references, to see each owner release exactly what it holds.
class CountedObject final : public IServiceProvider {
public:
    ULONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IServiceProvider) {
            *out = static_cast<IServiceProvider*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID, REFIID, void** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
};

TEST(ComPtr, ReleasesWhatItHoldsOnceAndHandsItOnWhenMoved) {
    CountedObject object;
    {
        ComPtr<IUnknown> owner;
        *owner.Receive() = &object;
        {
            const ComPtr<IServiceProvider> asked = owner.As<IServiceProvider>();
            EXPECT_TRUE(asked);
            EXPECT_EQ(2u, object.references);
            EXPECT_FALSE(owner.As<IDispatch>()) << "an interface the object lacks";
            EXPECT_EQ(2u, object.references);
        }
        EXPECT_EQ(1u, object.references);
        const ComPtr<IUnknown> moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(1u, object.references);
    }
    EXPECT_EQ(0u, object.references);
}

} // namespace
