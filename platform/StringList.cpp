#include "platform/StringList.h"

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

int TStringList::AddObject(const QString& s, TObject* object)
{
    FItems.push_back({s, object});
    return Count() - 1;
}

void TStringList::Insert(int index, const QString& s, TObject* object)
{
    if (index < 0 || index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    FItems.insert(FItems.begin() + index, {s, object});
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
}

const QString& TStringList::Strings(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].S;
}

void TStringList::SetString(int index, const QString& s)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)].S = s;
}

TObject* TStringList::Objects(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].O;
}

void TStringList::SetObject(int index, TObject* object)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)].O = object;
}

int TStringList::IndexOf(const QString& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)].S.compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfObject(const TObject* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)].O == object)
            return i;
    return -1;
}
