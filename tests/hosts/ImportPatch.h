#pragma once
// Points one entry of this program's import table elsewhere for the life of
// the object, so that a test stands in for the shell or a system dialog.
#include <windows.h>

#include <cstring>

class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement)
    {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        auto rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + rva); module->Name && !slot; ++module) {
            if (_stricmp(reinterpret_cast<const char*>(base + module->Name), dll) != 0)
                continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
            for (; names->u1.AddressOfData && !slot; ++names, ++slots)
                if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)
                    && std::strcmp(reinterpret_cast<const char*>(
                           reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name), function) == 0)
                    slot = &slots->u1.Function;
        }
        if (slot) {
            original = *slot;
            Write(reinterpret_cast<DWORD_PTR>(replacement));
        }
    }
    ~ImportPatch()
    {
        if (slot)
            Write(original);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool Installed() const { return slot != nullptr; }
    // What the entry pointed to before.
    void* Original() const { return reinterpret_cast<void*>(original); }

private:
    void Write(DWORD_PTR value)
    {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    }
    DWORD_PTR* slot = nullptr;
    DWORD_PTR original = 0;
};
