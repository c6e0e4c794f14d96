#pragma once

// Scripts the Qt browser runs inside its pages.

namespace zeko::browser_scripts {

// Injected into every document (main world, frames too) as it is created, before any script
// of the page. "@TOKEN@" is replaced by a secret per browser, so a page cannot forge reports.
// Reports go out through console.log, which reaches the program before the navigation that
// follows a form post is asked about.
//  - form: a form is being sent; the body as the browser will post it, read from the entry
//    list of the submission itself (the `formdata` event), so the submitter's pair sits where
//    the browser puts it. Also the field "ap" of the form "countdn" of the top page, read now,
//    while that page is still shown.
//  - nav: a relative link (an empty one too) or an "about:" link clicked in an "about:"
//    document, which the engine would block; the old browser went to "about:blank" followed by
//    the link text. Jumps to a "#" mark inside the page stay with the engine.
inline constexpr char kDocumentHook[] = R"JS(
(function () {
  'use strict';
  const TOKEN = '@TOKEN@';
  const log = console.log.bind(console);
  const stringify = JSON.stringify;
  const later = window.setTimeout.bind(window);
  function report(kind, data) {
    try { log(TOKEN + kind + ' ' + stringify(data)); } catch (e) {}
  }

  // A form may hold fields named "action" or "method" that shadow the properties.
  const formProto = HTMLFormElement.prototype;
  function getter(name) {
    const d = Object.getOwnPropertyDescriptor(formProto, name);
    return d && d.get ? d.get : function () { return ''; };
  }
  const formAction = getter('action');
  const formMethod = getter('method');
  const formEnctype = getter('enctype');
  const formTarget = getter('target');
  const formAcceptCharset = getter('acceptCharset');
  const formElements = getter('elements');
  const docForms = Object.getOwnPropertyDescriptor(Document.prototype, 'forms').get;

  function readCountdown() {
    let doc;
    try { doc = window.top.document; } catch (e) { return { status: 'failed' }; }
    try {
      const form = docForms.call(doc).namedItem('countdn');
      if (!form) return { status: 'missing' };
      const field = formElements.call(form).namedItem('ap');
      if (!field) return { status: 'missing' };
      const v = field.value;
      if (v === undefined || v === null) return { status: 'failed' };
      return { status: 'value', value: String(v) };
    } catch (e) {
      return { status: 'failed' };
    }
  }

  const CP1252_HIGH = [0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020, 0x2021, 0x2C6,
    0x2030, 0x160, 0x2039, 0x152, 0x8D, 0x17D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D,
    0x2022, 0x2013, 0x2014, 0x2DC, 0x2122, 0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178];
  const cp1252 = new Map();
  CP1252_HIGH.forEach(function (cp, i) { cp1252.set(cp, 0x80 + i); });
  const LATIN = ['windows-1252', 'iso-8859-1', 'latin1', 'l1', 'us-ascii', 'ascii', 'cp1252',
    'x-cp1252', 'iso8859-1', 'iso_8859-1', 'cp819', 'ibm819', 'ansi_x3.4-1968'];
  function charsetLabel(l) {
    l = l.trim().toLowerCase();
    if (l === 'utf-8' || l === 'utf8' || l === 'unicode-1-1-utf-8') return 'utf-8';
    if (LATIN.indexOf(l) >= 0) return 'windows-1252';
    return null;
  }
  function charsetOf(form) {
    const tokens = String(formAcceptCharset.call(form) || '').split(/[\s,]+/);
    for (const t of tokens) {
      if (!t) continue;
      const c = charsetLabel(t);
      if (c) return c;
    }
    return charsetLabel(document.characterSet || '') || 'utf-8';
  }
  const utf8 = new TextEncoder();
  function encode(s, charset) {
    if (charset === 'utf-8') return Array.from(utf8.encode(s));
    const out = [];
    for (const ch of s) {
      const cp = ch.codePointAt(0);
      if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) out.push(cp);
      else if (cp1252.has(cp)) out.push(cp1252.get(cp));
      else for (const c of '&#' + cp + ';') out.push(c.charCodeAt(0));
    }
    return out;
  }
  function percent(bytes) {
    let s = '';
    for (const b of bytes) {
      if (b === 0x20) s += '+';
      else if (b === 0x2A || b === 0x2D || b === 0x2E || b === 0x5F ||
               (b >= 0x30 && b <= 0x39) || (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A))
        s += String.fromCharCode(b);
      else s += '%' + (b < 16 ? '0' : '') + b.toString(16).toUpperCase();
    }
    return s;
  }
  function crlf(s) { return String(s).replace(/\r\n|\r|\n/g, '\r\n'); }
  // The body as a string of bytes (one character per byte).
  function encodeBody(formData, enctype, charset) {
    const pairs = [];
    for (const [name, value] of formData) {
      pairs.push([crlf(name), typeof value === 'string' ? crlf(value) : value.name]);
    }
    if (enctype === 'text/plain') {
      let s = '';
      for (const [n, v] of pairs) s += String.fromCharCode.apply(null, encode(n + '=' + v + '\r\n', charset));
      return s;
    }
    // Multipart bodies carry a boundary only the engine knows; they are told as a form.
    return pairs.map(function (p) {
      return percent(encode(p[0], charset)) + '=' + percent(encode(p[1], charset));
    }).join('&');
  }

  // The `formdata` event also fires for scripts building a FormData, and once more after a
  // real submission; the first one after a submit is the one that is sent.
  let armed = false;
  let submitter = null;
  window.addEventListener('submit', function (e) {
    armed = true;
    submitter = e.submitter || null;
    later(function () { armed = false; submitter = null; }, 0);
  }, true);
  const originalSubmit = formProto.submit;
  formProto.submit = function submit() {
    armed = true;
    submitter = null;
    try { return originalSubmit.apply(this, arguments); } finally { armed = false; }
  };
  window.addEventListener('formdata', function (e) {
    const sure = armed;
    const sub = sure ? submitter : null;
    armed = false;
    try {
      const form = e.target;
      let method = formMethod.call(form);
      let enctype = formEnctype.call(form);
      let target = formTarget.call(form);
      if (sub) {
        if (sub.hasAttribute('formmethod')) method = sub.formMethod;
        if (sub.hasAttribute('formenctype')) enctype = sub.formEnctype;
        if (sub.hasAttribute('formtarget')) target = sub.formTarget;
      }
      report('form', {
        sure: sure, method: method, enctype: enctype, target: target,
        body: encodeBody(e.formData, enctype, charsetOf(form)),
        countdown: readCountdown()
      });
    } catch (err) {}
  }, true);

  if (window === window.top && location.protocol === 'about:') {
    window.addEventListener('click', function (e) {
      if (e.defaultPrevented || e.button !== 0) return;
      let n = e.target;
      while (n && !(n.nodeType === 1 && n.localName === 'a' && n.hasAttribute('href')))
        n = n.parentNode;
      if (!n) return;
      const href = n.getAttribute('href').trim();
      if (href.charAt(0) === '#') return;
      const scheme = /^[a-zA-Z][a-zA-Z0-9+.\-]*:/.exec(href);
      if (scheme && scheme[0].toLowerCase() !== 'about:') return;
      e.preventDefault();
      // A jump inside the page may have changed its address; the link's does not follow.
      report('nav', { url: scheme ? href : 'about:blank' + href });
    }, false);
  }
})();
)JS";

// What both body serialisers share, so they escape alike: the element kinds, the escaping and
// an element's start tag. Placed inside a function that has `body` in scope.
inline constexpr char kSerializerParts[] = R"JS(
  const VOID = new Set(['AREA', 'BASE', 'BASEFONT', 'BGSOUND', 'BR', 'COL', 'EMBED', 'FRAME',
    'HR', 'IMG', 'INPUT', 'KEYGEN', 'LINK', 'META', 'PARAM', 'SOURCE', 'TRACK', 'WBR']);
  const RAW = new Set(['SCRIPT', 'STYLE', 'XMP', 'IFRAME', 'NOEMBED', 'NOFRAMES', 'PLAINTEXT',
    'NOSCRIPT']);
  const SIMPLE = /^[A-Za-z0-9\-_.:]+$/;
  function angles(s) { return s.replace(/</g, '&lt;').replace(/>/g, '&gt;'); }
  function text(s) {
    return angles(s.replace(/&/g, '&amp;')).replace(/\u00A0/g, '&nbsp;');
  }
  function quoted(s) { return text(s).replace(/"/g, '&quot;'); }
  function nameOf(el) { return angles(el.tagName.toUpperCase()); }
  // The old browser wrote a row's start tag and a line break, then its first cell, however the
  // page spaced it; readers of rows drop those two characters after "<TR>" unseen.
  function startTag(el, out) {
    const name = nameOf(el);
    out.push('<', name);
    for (const a of el.attributes) {
      const v = a.value;
      out.push(' ', angles(a.name));
      if (v !== '' && SIMPLE.test(v)) out.push('=', v);
      else out.push('="', quoted(v), '"');
    }
    out.push(name === 'TR' ? '>\r\n' : '>');
  }
  const BLANK = /^[ \t\n\f\r]*$/;
  // The first child to write: in a row, the page's own blanks before the first cell are left
  // to the line break of the start tag.
  function firstWritten(parent) {
    let n = parent.firstChild;
    if (parent.nodeType === 1 && nameOf(parent) === 'TR') {
      while (n && n.nodeType === 3 && BLANK.test(n.data)) n = n.nextSibling;
    }
    return n;
  }
  // Text, CDATA and comments: what is not an element.
  function leaf(n, raw, out) {
    if (n.nodeType === 3) out.push(raw ? angles(n.data) : text(n.data));
    else if (n.nodeType === 4) out.push(text(n.data));
    else if (n.nodeType === 8) out.push('<!--', angles(n.data), '-->');
  }
)JS";

// Serialises the body the way the old browser did; called with true for the body's own tag.
// Returns null when there is no body. Readers cut this text at tags, so every "<" and ">" that
// is not the page's own markup comes out as "&lt;" and "&gt;": in attribute values, in comments
// and in script and other raw text, where the old browser left them bare and a player's text
// that the game had escaped correctly could pass for a tag. Comments keep their "<!--" and
// "-->".
inline constexpr char kSerializeBodyStart[] = R"JS(
(function (outer) {
  'use strict';
  const body = document.body;
  if (!body) return null;
)JS";
inline constexpr char kSerializeBody[] = R"JS(
  const out = [];
  function element(el) {
    const name = nameOf(el);
    startTag(el, out);
    if (VOID.has(name)) return;
    children(name === 'TEMPLATE' && el.content ? el.content : el, RAW.has(name));
    out.push('</', name, '>');
  }
  function children(parent, raw) {
    for (let n = firstWritten(parent); n; n = n.nextSibling) {
      if (n.nodeType === 1) element(n);
      else leaf(n, raw, out);
    }
  }
  if (outer) element(body); else children(body, false);
  return out.join('');
})
)JS";

// kSerializeBody's inner text, from the first row tag without attributes to the end of the
// element that holds the `rows`-th row closed after it (the end of the text when that is the
// body); the whole text when there is no such tag; "" when the body has no row at all (rows
// inside templates count). Called with the number of rows. Text that a reader of the rows never
// reaches is neither made nor sent, which matters on pages with long chat logs read again and
// again.
inline constexpr char kSerializeBodyRowsStart[] = R"JS(
(function (rows) {
  'use strict';
  const body = document.body;
  if (!body) return null;
  const templated = !!body.querySelector('template');
  if (!body.querySelector('tr') && !templated) return '';
)JS";
inline constexpr char kSerializeBodyRows[] = R"JS(
  const DONE = {};
  let out = [];
  let started = false;
  let closed = 0;
  let last = null;
  function element(el) {
    const name = nameOf(el);
    if (!started && name === 'TR' && el.attributes.length === 0) {
      started = true;
      out = [];
    }
    startTag(el, out);
    if (VOID.has(name)) return;
    children(name === 'TEMPLATE' && el.content ? el.content : el, RAW.has(name));
    close(el, name);
  }
  // The parent's end tag follows the last row, so a reader that drops a few characters from
  // the end still sees the row whole; rows straight in the body run to the end.
  function close(el, name) {
    out.push('</', name, '>');
    if (el === last) throw DONE;
    if (started && name === 'TR' && ++closed === rows) {
      const parent = el.parentNode;
      if (parent && parent !== body && parent.nodeType === 1) last = parent;
    }
  }
  function node(n, raw) {
    if (n.nodeType === 1) element(n);
    else leaf(n, raw, out);
  }
  function children(parent, raw) {
    for (let n = firstWritten(parent); n; n = n.nextSibling) node(n, raw);
  }
  // Where the first bare row stands among ordinary elements (no template can hide one before
  // it), the text starts there, and what comes before it is not even walked.
  function firstRow() {
    if (templated) return null;
    for (const tr of body.getElementsByTagName('tr')) {
      if (nameOf(tr) !== 'TR' || tr.attributes.length !== 0) continue;
      for (let up = tr.parentNode; up !== body; up = up.parentNode) {
        if (!up || up.nodeType !== 1 || VOID.has(nameOf(up)) || RAW.has(nameOf(up))) return null;
      }
      return tr;
    }
    return null;
  }
  try {
    const start = firstRow();
    if (start) {
      element(start);
      for (let at = start; at !== body; at = at.parentNode) {
        for (let n = at.nextSibling; n; n = n.nextSibling) node(n, false);
        if (at.parentNode !== body) close(at.parentNode, nameOf(at.parentNode));
      }
    } else {
      children(body, false);
    }
  } catch (e) {
    if (e !== DONE) throw e;
  }
  return out.join('');
})
)JS";

// Reads a named field of a named form: {status: 'value'|'missing'|'failed', value}.
inline constexpr char kReadFormField[] = R"JS(
(function (formName, fieldName) {
  'use strict';
  try {
    // Named fields and forms may shadow the properties; go through the prototypes.
    const forms = Object.getOwnPropertyDescriptor(Document.prototype, 'forms').get;
    const elements = Object.getOwnPropertyDescriptor(HTMLFormElement.prototype, 'elements').get;
    const form = forms.call(document).namedItem(formName);
    if (!form) return { status: 'missing' };
    const field = elements.call(form).namedItem(fieldName);
    if (!field) return { status: 'missing' };
    const v = field.value;
    if (v === undefined || v === null) return { status: 'failed' };
    return { status: 'value', value: String(v) };
  } catch (e) {
    return { status: 'failed' };
  }
})
)JS";

}  // namespace zeko::browser_scripts
