// The allow-list that mark-up from the service passes before it goes into a page.
#pragma once

#include <QString>

namespace elumira::pages {

// Mark-up received from the service (synopses, sentence hits, names and titles shown as received), reduced to
// what a page may show. The text is read tag by tag and written anew:
// - the formatting elements b, strong, i, em, u, mark, p, br, ul, ol, li, span, div, h1-h6, blockquote, sub
//   and sup keep their text and at most a class;
// - a picture keeps an http(s) src, alt, width and height, and is dropped without a usable src;
// - every other element (scripts, styles, frames, objects, embeds, forms, links, SVG and MathML, ...) is
//   dropped with its attributes; its text stays, except the content of script, style, frame, noscript and
//   title elements, which is not text a member reads;
// - comments, CDATA sections, declarations and processing instructions are dropped; a tag left unfinished at
//   the end of the text is dropped; a '<' that starts no tag becomes &lt;;
// - end tags without an open element are dropped, elements left open are closed at the end, so the text
//   cannot close or swallow the page around it.
// Text and character references are written as received, so well-formed mark-up of the allowed kinds comes
// out as it went in.
QString filterMarkup(const QString &markup);

// A picture address fit for a page: the address as a browser reads it (white space and control characters
// at its ends and tabs and line breaks inside taken out) when it is an http or https address; otherwise empty.
QString webPictureAddress(const QString &address);

} // namespace elumira::pages
