#include "html/HtmlImageCache.h"

#include "html/HtmlSupport.h"

#include <algorithm>

std::string ImageCacheKey(const std::string& name)
{
    return UpperCase1252(TrimSpaces(name));
}

TStringBitmapList& BitmapList()
{
    static TStringBitmapList list;
    return list;
}

int TStringBitmapList::IndexOf(const std::string& key) const
{
    const auto found = std::lower_bound(FItems.begin(), FItems.end(), key,
                                        [](const TEntry& entry, const std::string& k) { return entry.Key < k; });
    if (found == FItems.end() || found->Key != key)
        return -1;
    return static_cast<int>(found - FItems.begin());
}

int TStringBitmapList::AddObject(const std::string& key, std::unique_ptr<TBitmapItem> item)
{
    item->UsageCount = 1;
    item->AccessCount = 0;
    const auto at = std::lower_bound(FItems.begin(), FItems.end(), key,
                                     [](const TEntry& entry, const std::string& k) { return entry.Key < k; });
    if (at != FItems.end() && at->Key == key) {
        // A second load of the same name replaces the entry; uses carry over.
        item->UsageCount += at->Item->UsageCount;
        at->Item = std::move(item);
        return static_cast<int>(at - FItems.begin());
    }
    const auto inserted = FItems.insert(at, TEntry{key, std::move(item)});
    return static_cast<int>(inserted - FItems.begin());
}

TBitmapItem* TStringBitmapList::Take(int index)
{
    TBitmapItem* item = Item(index);
    item->AccessCount = 0;
    ++item->UsageCount;
    return item;
}

void TStringBitmapList::Release(const std::string& name)
{
    const int index = IndexOf(ImageCacheKey(name));
    if (index >= 0)
        Item(index)->UsageCount = std::max(0, Item(index)->UsageCount - 1);
}

template <class Pred>
void TStringBitmapList::RemoveUnusedIf(Pred pred)
{
    std::erase_if(FItems, [&](const TEntry& entry) { return entry.Item->UsageCount <= 0 && pred(*entry.Item); });
}

void TStringBitmapList::Age()
{
    for (TEntry& entry : FItems)
        ++entry.Item->AccessCount;
    RemoveUnusedIf([this](const TBitmapItem& item) { return item.AccessCount > FMaxAge; });
}

void TStringBitmapList::SetMaxAge(int n)
{
    RemoveUnusedIf([n](const TBitmapItem& item) { return item.AccessCount > n; });
    FMaxAge = n;
}

void TStringBitmapList::Purge()
{
    RemoveUnusedIf([](const TBitmapItem&) { return true; });
}
