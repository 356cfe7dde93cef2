// The HTML reader, charsets, URIs and host rules on tables of inputs.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/charset.h"
#include "engine/host_rules.h"
#include "engine/html_reader.h"
#include "engine/uri.h"

namespace {

std::wstring AllText(const HtmlDocument& document) { return RangeText(document, 0, document.pieces.size()); }

struct TextCase {
  const wchar_t* html;
  const wchar_t* text;
};

TEST(HtmlReader, ReadsTextThroughBrokenAndOrdinaryMarkup) {
  const TextCase cases[] = {
      {L"<p>  a \n\t b  </p>", L"a b"},
      {L"<h1>T</h1>para<div>d</div>", L"T\npara\nd"},
      {L"a<br>b</br>c", L"a\nb\nc"},
      {L"<pre>a\n  b</pre>", L"a\n  b"},
      {L"<ul><li>one<li>two</ul>", L"\x2022 one\n\x2022 two"},
      {L"<p>one<p>two", L"one\ntwo"},
      {L"<p>&amp;&lt;&gt;&quot;&#65;&#x4e2d;&nbsp;|&bogus; &amp &copy", L"&<>\"A\x4E2D\x00A0|&bogus; & \x00A9"},
      {L"<p>&#0;&#x110000;&#128512;</p>", L"\xFFFD\xFFFD\xD83D\xDE00"},
      {L"<p>a<!-- <p>hidden</p> -->b</p>", L"ab"},
      {L"<style>p{color:red}</style><p>x</p><script>var a = '<p>no</p>';</script>", L"x"},
      {L"<p>unclosed <b>bold <a href=x>link", L"unclosed bold link"},
      {L"</div></p>text</span></a>", L"text"},
      {L"text<a href=\"never closed", L"text"},
      {L"a<!-- never closed", L"a"},
      {L"a < b and c<3", L"a < b and c<3"},
      {L"<!DOCTYPE html><?xml x?><html><head><meta charset=utf-8></head><body>hi</body></html>", L"hi"},
      {L"<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", L"a b\nc"},
      {L"<textarea><b>&amp;</b></textarea>", L"<b>&</b>"},
      {L"<noscript>off</noscript><template><p>t</p></template>on", L"on"},
      {L"<P CLASS=x>Upper</P><SCRIPT>x()</SCRIPT>", L"Upper"},
  };
  for (const TextCase& test : cases) {
    EXPECT_EQ(AllText(ReadHtml(test.html, L"http://h.test/")), test.text) << test.html;
  }
}

TEST(HtmlReader, TitleIsTheFirstTitleCollapsedAndDecoded) {
  const TextCase cases[] = {
      {L"<title> A  b\n c &amp; d </title><p>x</p>", L"A b c & d"},
      {L"<title>first</title><title>second</title>", L"first"},
      {L"<svg><title>icon</title></svg><title>page</title>", L"page"},
      {L"<TITLE>Caps</TITLE>", L"Caps"},
      {L"<title><b>not markup</b></title>", L"<b>not markup</b>"},
      {L"<p>no title</p>", L""},
      {L"<title>unclosed", L"unclosed"},
  };
  for (const TextCase& test : cases) EXPECT_EQ(ReadHtml(test.html, L"http://h.test/").title, test.text) << test.html;
}

TEST(HtmlReader, HeadingsStartParagraphsWithTheirLevel) {
  const HtmlDocument document = ReadHtml(L"<h2>Two</h2>body<h6>Six</h6>", L"http://h.test/");
  std::vector<std::pair<int, std::wstring>> paragraphs;
  int level = 0;
  for (const Piece& piece : document.pieces) {
    if (piece.kind == Piece::Kind::kBreak)
      level = piece.headingLevel;
    else
      paragraphs.emplace_back(level, piece.text);
  }
  const std::vector<std::pair<int, std::wstring>> expected{{2, L"Two"}, {0, L"body"}, {6, L"Six"}};
  EXPECT_EQ(paragraphs, expected);
}

TEST(HtmlReader, OnlyMarginedBlocksSetTheirTextOffByAGap) {
  const HtmlDocument document = ReadHtml(L"top<div>a</div><div>b</div><p>c</p><ul><li>d<li>e</ul>f", L"http://h.test/");
  std::wstring gaps;  // for each text, '+' when a gap comes before it
  bool spaced = false;
  for (const Piece& piece : document.pieces) {
    if (piece.kind == Piece::Kind::kBreak) {
      spaced = piece.spaced;
    } else {
      gaps += (spaced ? L"+" : L"") + piece.text.substr(0, 1);
      spaced = false;
    }
  }
  EXPECT_EQ(gaps, L"tab+c+\x2022\x2022+f");
}

TEST(HtmlReader, LinksCarryTheirResolvedTarget) {
  const HtmlDocument document = ReadHtml(
      L"<p>see <a href='../b?c=1&amp;d=2'>this</a> and <A HREF=https://o.test/>that</A>.", L"http://h.test:8/d/e.html");
  std::vector<std::pair<std::wstring, std::wstring>> runs;
  for (const Piece& piece : document.pieces) {
    if (piece.kind == Piece::Kind::kText) runs.emplace_back(piece.text, piece.href);
  }
  const std::vector<std::pair<std::wstring, std::wstring>> expected{{L"see ", L""},
                                                                    {L"this", L"http://h.test:8/b?c=1&d=2"},
                                                                    {L" and ", L""},
                                                                    {L"that", L"https://o.test/"},
                                                                    {L".", L""}};
  EXPECT_EQ(runs, expected);

  const HtmlDocument based =
      ReadHtml(L"<base href='/root/'><base href='/ignored/'><a href=x>x</a>", L"http://h.test:8/d/e.html");
  ASSERT_EQ(based.pieces.size(), 1u);
  EXPECT_EQ(based.pieces[0].href, L"http://h.test:8/root/x");
}

TEST(HtmlReader, KeepsInlineScriptsInOrderAndSkipsOthers) {
  const HtmlDocument document = ReadHtml(
      L"<script>a()</script><p>x</p><script type='text/javascript'>b('</p>')</script>"
      L"<script type=module>c()</script><script src=x.js>d()</script><script type='text/template'>e</script>"
      L"<SCRIPT LANGUAGE=JavaScript>f()</SCRIPT><script language=vbscript>g</script><script>h()",
      L"http://h.test/");
  const std::vector<std::wstring> expected{L"a()", L"b('</p>')", L"f()", L"h()"};
  EXPECT_EQ(document.scripts, expected);
}

TEST(HtmlReader, ElementTextCanBeReplacedWithoutDisturbingOtherElements) {
  HtmlDocument document =
      ReadHtml(L"<p>Result: <span id=r>old</span>!</p><p id=q>q</p><div id=empty></div>end", L"http://h.test/");
  const ElementRange* r = FindElement(document, L"r");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(RangeText(document, r->first, r->end), L"old");
  ReplaceRange(document, r->first, r->end, TextPieces(L"a much longer new text"));
  ASSERT_NE(FindElement(document, L"empty"), nullptr);
  const ElementRange empty = *FindElement(document, L"empty");
  ReplaceRange(document, empty.first, empty.end, TextPieces(L"filled"));
  const ElementRange* q = FindElement(document, L"q");
  EXPECT_EQ(RangeText(document, q->first, q->end), L"q");
  r = FindElement(document, L"r");
  EXPECT_EQ(RangeText(document, r->first, r->end), L"a much longer new text");
  EXPECT_EQ(AllText(document), L"Result: a much longer new text!\nq\nfilled\nend");
  EXPECT_EQ(FindElement(document, L"missing"), nullptr);
}

TEST(HtmlReader, SeveralMegabytesOfOrdinaryOrBrokenMarkupReadInLinearTime) {
  std::wstring ordinary, unclosed;
  while (ordinary.size() < (4u << 20)) ordinary += L"<div><p>\x6BB5\x843D <a href=/x>link</a> &amp; text</p></div>\n";
  for (int i = 0; i < 200000; ++i) unclosed += L"<div><span>x";
  for (int i = 0; i < 200000; ++i) unclosed += L"</p></b>";
  for (const std::wstring* page : {&ordinary, &unclosed}) {
    const DWORD start = GetTickCount();
    const HtmlDocument document = ReadHtml(*page, L"http://h.test/");
    EXPECT_LT(GetTickCount() - start, 15000u) << "far slower than one pass";
    EXPECT_FALSE(document.pieces.empty());
  }
}

struct UriCase {
  const wchar_t* reference;
  const wchar_t* resolved;
};

TEST(Uri, ResolvesReferencesAsBrowsersDo) {
  const wchar_t* base = L"http://h.test:8/d/e.html?q=1#top";
  const UriCase cases[] = {
      {L"f.html", L"http://h.test:8/d/f.html"},
      {L"../g", L"http://h.test:8/g"},
      {L"../../../g", L"http://h.test:8/g"},
      {L"./", L"http://h.test:8/d/"},
      {L"/a/./b/../c", L"http://h.test:8/a/c"},
      {L"?x=2", L"http://h.test:8/d/e.html?x=2"},
      {L"#frag", L"http://h.test:8/d/e.html?q=1#frag"},
      {L"", L"http://h.test:8/d/e.html?q=1"},
      {L"//o.test/p", L"http://o.test/p"},
      {L"https://o.test/x", L"https://o.test/x"},
      {L"  spaced.html ", L"http://h.test:8/d/spaced.html"},
      {L"javascript:go()", L"javascript:go()"},
  };
  for (const UriCase& test : cases) EXPECT_EQ(ResolveUri(base, test.reference), test.resolved) << test.reference;
}

TEST(Uri, SplitsHttpUrisAndRefusesOthers) {
  HttpUri parts;
  ASSERT_TRUE(SplitHttpUri(L"https://user@h.test:8443/p?q#f", parts));
  EXPECT_TRUE(parts.secure);
  EXPECT_EQ(parts.host, L"h.test");
  EXPECT_EQ(parts.port, 8443);
  EXPECT_EQ(parts.pathAndQuery, L"/p?q");
  ASSERT_TRUE(SplitHttpUri(L"http://[::1]", parts));
  EXPECT_EQ(parts.host, L"::1");
  EXPECT_EQ(parts.port, 80);
  EXPECT_EQ(parts.pathAndQuery, L"/");
  for (const wchar_t* bad :
       {L"ftp://h.test/", L"http://", L"http://h.test:99999/", L"http://h.test:8x/", L"about:blank"}) {
    EXPECT_FALSE(SplitHttpUri(bad, parts)) << bad;
  }
}

struct HostCase {
  const wchar_t* arguments;
  const wchar_t* host;
  int port;
  const wchar_t* targetHost;
  int targetPort;
  bool notFound;
};

TEST(HostRules, MapHostsAsChromiumsSwitchDoes) {
  const HostCase cases[] = {
      {L"--host-resolver-rules=\"MAP cuixiao.club 127.0.0.1:8080\"", L"cuixiao.club", 80, L"127.0.0.1", 8080, false},
      {L"--host-resolver-rules=\"MAP cuixiao.club 127.0.0.1:8080\"", L"other.club", 80, L"other.club", 80, false},
      {L"--a=1 --host-resolver-rules=\"MAP a.test 127.0.0.1:1, MAP *.b.test 127.0.0.2\" --b", L"x.b.test", 8080,
       L"127.0.0.2", 8080, false},
      {L"--host-resolver-rules=\"MAP a.test 127.0.0.1:1,MAP *.b.test 127.0.0.2\"", L"A.Test", 80, L"127.0.0.1", 1,
       false},
      {L"--host-resolver-rules=\"MAP A.TEST [::1]:9\"", L"a.test", 80, L"[::1]", 9, false},
      {L"--host-resolver-rules=\"MAP a.test:8080 127.0.0.1:1\"", L"a.test", 80, L"a.test", 80, false},
      {L"--host-resolver-rules=\"MAP a.test:8080 127.0.0.1:1\"", L"a.test", 8080, L"127.0.0.1", 1, false},
      {L"--host-resolver-rules=\"MAP * ~NOTFOUND\"", L"any.test", 80, L"~NOTFOUND", 80, true},
      {L"--host-resolver-rules=\"MAP onlyhost, EXCLUDE a.test, MAP a.test 1.2.3.4:99999, MAP a.test 1.2.3.4:x\"",
       L"a.test", 80, L"a.test", 80, false},
      {L"--host-resolver-rules=\"MAP a.test 127.0.0.1:1\" --host-resolver-rules=\"MAP a.test 127.0.0.1:2\"", L"a.test",
       80, L"127.0.0.1", 2, false},
      {L"--host-resolver-rules=MAP", L"a.test", 80, L"a.test", 80, false},
      {L"", L"a.test", 80, L"a.test", 80, false},
  };
  for (const HostCase& test : cases) {
    const HostTarget target = MapHost(ParseHostResolverRules(test.arguments), test.host, test.port);
    EXPECT_EQ(target.host, test.targetHost) << test.arguments << " " << test.host;
    EXPECT_EQ(target.port, test.targetPort) << test.arguments << " " << test.host;
    EXPECT_EQ(target.notFound, test.notFound) << test.arguments;
  }
}

struct CharsetCase {
  const char* bytes;
  const wchar_t* contentType;
  const wchar_t* text;
};

TEST(Charset, FromHeaderThenMetaThenUtf8) {
  const CharsetCase cases[] = {
      {"\xD6\xD0\xCE\xC4", L"text/html; charset=GBK", L"\x4E2D\x6587"},
      {"\xD6\xD0\xCE\xC4", L"text/html;charset=\"gb2312\"", L"\x4E2D\x6587"},
      {"\xD6\xD0\xCE\xC4", L"text/html; charset=GB18030", L"\x4E2D\x6587"},
      {"<meta charset=\"gb2312\">\xD6\xD0", L"text/html", L"<meta charset=\"gb2312\">\x4E2D"},
      {"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gbk\">\xD6\xD0", L"",
       L"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gbk\">\x4E2D"},
      {"<meta charset=gbk>\xE4\xB8\xAD", L"text/html; charset=utf-8", L"<meta charset=gbk>\x4E2D"},
      {"\xE4\xB8\xAD", L"", L"\x4E2D"},
      {"\xE4\xB8\xAD", L"text/html; charset=unknown-thing", L"\x4E2D"},
      {"\xEF\xBB\xBF\xE4\xB8\xAD", L"text/html; charset=gbk", L"\x4E2D"},
      {"caf\xE9", L"text/html; charset=iso-8859-1", L"caf\x00E9"},
      {"", L"text/html", L""},
  };
  for (const CharsetCase& test : cases) EXPECT_EQ(DecodePage(test.bytes, test.contentType), test.text) << test.bytes;
}

TEST(Charset, MetaBeyondTheFirstKilobytesIsIgnored) {
  const std::string page = std::string(8192, ' ') + "<meta charset=gbk>\xD6\xD0";
  EXPECT_EQ(CharsetFromMeta(page), "");
  EXPECT_EQ(CodePageForCharset(" GB2312 "), 936u);
  EXPECT_EQ(CodePageForCharset("no-such"), 0u);
}

}  // namespace
