#pragma once
// Synthetic HTML 3.2 pages for the parser and layout benchmarks: headings,
// paragraphs with style and font runs, links and entities, lists, PRE and
// rules, repeated up to the requested size.

#include <cstdint>
#include <map>
#include <string>

inline std::string MakeHtml32Page(size_t bytes)
{
    static const std::string block =
        "<h2>Chapitre</h2>\n"
        "<p>Un paragraphe de texte avec du <b>gras</b>, de l'<i>italique</i>, un "
        "<a href=\"page3.htm#suite\">lien vers la suite</a>, des entit&eacute;s &amp; &lt;signes&gt; "
        "et <font size=+1 color=navy>une police plus grande</font> au milieu d'une phrase assez "
        "longue pour occuper plusieurs lignes &agrave; huit cents pixels de large. Encore quelques "
        "mots ordinaires pour remplir le paragraphe comme dans une vraie page du didacticiel.\n"
        "<ul><li>premier point<li>deuxi&egrave;me point avec <tt>du code</tt>"
        "<li>troisi&egrave;me point</ul>\n"
        "<pre>  ligne pr&eacute;format&eacute;e   un\n   ligne deux &lt;balise&gt;\n</pre>\n"
        "<ol><li>un<li>deux</ol><hr>\n";
    std::string page = "<html><head><title>Banc d'essai</title></head><body>\n";
    page.reserve(bytes + block.size());
    while (page.size() < bytes)
        page += block;
    page += "</body></html>\n";
    return page;
}

// The page of that size, made once per run.
inline const std::string& CachedHtml32Page(int64_t bytes)
{
    static std::map<int64_t, std::string> pages;
    std::string& page = pages[bytes];
    if (page.empty())
        page = MakeHtml32Page(static_cast<size_t>(bytes));
    return page;
}
