#pragma once
// A main window in this process over a store of a few plain entries.
#include <gtest/gtest.h>

#include <memory>

#include "app/Main.h"
#include "support/TestSupport.h"
#include "win/Application.h"

inline const std::wstring kFixtureStore = L"Software\\Pathnook";

// Stores entries "e<i>" / "C:\e<i>" for i < count, marked as already seeded.
inline void SeedStore(int count) {
    using namespace testing_support;
    DeleteKeyTree(kFixtureStore);
    SetString(kFixtureStore + L"\\Install", L"Seeded", L"1");
    for (int i = 0; i < count; ++i) {
        SetString(kFixtureStore, L"N" + std::to_wstring(i), L"e" + std::to_wstring(i));
        SetString(kFixtureStore, L"P" + std::to_wstring(i), L"C:\\e" + std::to_wstring(i));
    }
}

class MainFormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        FillStore();
        OpenForm();
    }
    // What the store holds before the window opens.
    virtual void FillStore() { SeedStore(3); }
    // A new main window over the store, as a new start of the program shows it.
    void OpenForm() {
        form.reset();
        form = std::make_unique<win::Sealed<TfrmMain>>();
        form->Show();
        win::Application::Instance().ProcessMessages();
    }
    void TearDown() override {
        form.reset();
        testing_support::DeleteKeyTree(kFixtureStore);
    }
    std::unique_ptr<TfrmMain> form;
};
