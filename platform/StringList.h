#pragma once
// An ordered list of strings, each able to carry one object reference. The
// list does not own the objects: its owner frees them (FreeListObjects).

#include "platform/TObject.h"

#include <QString>

#include <vector>

class TStringList : public TObject {
public:
    TStringList() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    int Add(const QString& s) { return AddObject(s, nullptr); }
    int AddObject(const QString& s, TObject* object);
    void Insert(int index, const QString& s, TObject* object = nullptr);
    void Delete(int index);
    void Clear() { FItems.clear(); }

    const QString& Strings(int index) const;
    void SetString(int index, const QString& s);
    TObject* Objects(int index) const;
    void SetObject(int index, TObject* object);

    // Case-insensitive, first match; -1 when absent.
    int IndexOf(const QString& s) const;
    int IndexOfObject(const TObject* object) const;

private:
    struct TItem {
        QString S;
        TObject* O = nullptr;
    };
    void CheckIndex(int index) const;
    std::vector<TItem> FItems;
};
