#pragma once
#include <windows.h>

// Every private message number of the project comes from one of these
// ranges, one range per layer, so that no two of them can meet. The
// numbers fixed from outside (the manager's hand-over 0x1403, the painter's
// 0xBCB3 and 0xBCB4) sit inside their layer's range; the rest move around
// them.
namespace win {

struct MessageRange {
    UINT First, Last;
    constexpr UINT operator[](UINT i) const { return First + i; }
    constexpr bool Holds(UINT m) const { return m >= First && m <= Last; }
    constexpr bool Meets(const MessageRange& o) const { return First <= o.Last && o.First <= Last; }
};

// This layer's notifications to controls, numbered as the controls'
// behaviour tables number them (Notify.h: CM_*).
constexpr MessageRange FrameworkMessages{0xB000, 0xB0FF};
// Messages a parent reflects back to a child: First + the message (CN_*),
// for window messages below WM_USER.
constexpr MessageRange ReflectedMessages{0xB400, 0xB400 + WM_USER - 1};
// The component sets' own (the menu painter's deferred frame repaints).
constexpr MessageRange ComponentMessages{0xBCB0, 0xBCBF};
// The programs' windows: the manager from First, the quick menu from
// First + 0x80 (both fixed below the programs, in store/Programs.h).
constexpr MessageRange ProgramMessages{0x1400, 0x14FF};

static_assert(!FrameworkMessages.Meets(ReflectedMessages) && !FrameworkMessages.Meets(ComponentMessages) &&
              !FrameworkMessages.Meets(ProgramMessages) && !ReflectedMessages.Meets(ComponentMessages) &&
              !ReflectedMessages.Meets(ProgramMessages) && !ComponentMessages.Meets(ProgramMessages));
static_assert(ProgramMessages.First >= WM_USER && ComponentMessages.Last < 0xC000,
              "private numbers stay below the registered ones");

}  // namespace win
