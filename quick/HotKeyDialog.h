#pragma once
#include "win/Form.h"
#include "win/HotKey.h"
#include "win/StdControls.h"

// "Hot Key...": the key that opens the quick menu. Fields in, fields out:
// the caller registers the key and keeps the old one if that fails.
class TfrmHotKey : public win::Form {
public:
    explicit TfrmHotKey(HWND owner);
    ~TfrmHotKey() override;

    win::HotKeySpec Key;
    static constexpr const wchar_t* Caption = L"Hot Key";
    static constexpr UINT HotKeyId = 200, WinKeyId = 201;

protected:
    void FormShow() override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ReadBack();
    win::Label lHint;
    win::HotKeyControl hkKey;
    HWND cbWin = nullptr;
    win::PushButton bOk, bCancel;
};
