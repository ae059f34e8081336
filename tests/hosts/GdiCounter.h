#pragma once
// Counts the GDI and USER objects that this program creates and releases, by
// patching the gdi32 and user32 entries of its own import table (the code
// under test is linked into the program, so its calls pass there).
// GetGuiResources cannot be used: Wine answers 0.
#include <windows.h>

#include <cstddef>
#include <ostream>
#include <utility>

struct GuiObjects {
    size_t gdiObjects = 0;  // bitmaps, fonts, pens, brushes, regions
    size_t deviceContexts = 0;  // memory, window and paint DCs
    size_t windows = 0;  // windows created here that still exist

    bool operator==(const GuiObjects&) const = default;
};

inline void PrintTo(const GuiObjects& objects, std::ostream* out)
{
    *out << "{gdi " << objects.gdiObjects << ", dc " << objects.deviceContexts << ", windows " << objects.windows << "}";
}

class GdiCounter {
public:
    // Patches the import table once; later calls only return the counter.
    static GdiCounter& Install();

    // What is alive now of what was created since Install.
    GuiObjects Live() const;
    // Number of import entries redirected.
    int PatchedEntries() const { return patched; }

    // What is alive before and after rounds runs of cycle (given the round
    // number), after one run first that may fill caches.
    template <class Cycle>
    std::pair<GuiObjects, GuiObjects> LiveAround(int rounds, Cycle cycle) const
    {
        cycle(0);
        GuiObjects before = Live();
        for (int round = 1; round <= rounds; ++round)
            cycle(round);
        return {before, Live()};
    }

private:
    GdiCounter() = default;
    int patched = 0;
};
