#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Usage: pdfa_check.py FILE...

The PDF/A-1b rules that qpdf, pdfinfo and pdffonts leave out, read with pikepdf: one line per
violation ("FILE: what"), exit status 1 if there is any. Fonts are pdffonts' and the Info and
XMP dates pdfinfo's (pdf-records.sh)."""
import sys
import xml.etree.ElementTree as ET

import pikepdf
from pikepdf import Array, Dictionary, Name, Stream

NS = {'rdf': 'http://www.w3.org/1999/02/22-rdf-syntax-ns#', 'dc': 'http://purl.org/dc/elements/1.1/',
      'pdf': 'http://ns.adobe.com/pdf/1.3/', 'xmp': 'http://ns.adobe.com/xap/1.0/',
      'pdfaid': 'http://www.aiim.org/pdfa/ns/id/'}
LANG = '{http://www.w3.org/XML/1998/namespace}lang'
FORBIDDEN_ACTIONS = {'/Launch', '/Sound', '/Movie', '/ResetForm', '/ImportData', '/JavaScript'}
PAGE_MOVES = {'/NextPage', '/PrevPage', '/FirstPage', '/LastPage'}  # the only Named actions allowed
INVISIBLE, HIDDEN, PRINT, NOVIEW = 1, 2, 4, 32
INFO_XMP = (('/Title', 'dc:title'), ('/Author', 'dc:creator'), ('/Subject', 'dc:description'),
            ('/Keywords', 'pdf:Keywords'), ('/Creator', 'xmp:CreatorTool'), ('/Producer', 'pdf:Producer'))


def walk(obj, path, seen, visit):
    """Every dictionary and stream reachable from obj, once each, with the first path to it."""
    if isinstance(obj, (Dictionary, Stream, Array)) and obj.is_indirect:
        if obj.objgen in seen:
            return
        seen.add(obj.objgen)
    if isinstance(obj, Array):
        for i, item in enumerate(obj):
            walk(item, f'{path}[{i}]', seen, visit)
    elif isinstance(obj, (Dictionary, Stream)):
        visit(obj, path)
        for key in obj.keys() - {'/Parent'}:  # a parent is reached from above
            walk(obj[key], path + key, seen, visit)


def check_object(o, path, bad):
    listed = lambda key: list(o[key]) if isinstance(o.get(key), Array) else [o.get(key)]  # noqa: E731
    if isinstance(o.get('/Group'), Dictionary) and o.Group.get('/S') == Name.Transparency:
        bad(f'{path}: a transparency group')
    if o.get('/SMask', Name('/None')) != Name('/None'):
        bad(f'{path}: a soft mask')
    for alpha in ('/CA', '/ca'):
        if float(o.get(alpha, 1)) != 1.0:
            bad(f'{path}{alpha} is {float(o[alpha])}, not 1.0')
    if '/BM' in o and any(str(m) not in ('/Normal', '/Compatible') for m in listed('/BM')):
        bad(f'{path}: blend mode {" ".join(map(str, listed("/BM")))}')
    for key in ('/JS', '/JavaScript', '/AA', '/EmbeddedFiles'):
        if key in o:
            bad(f'{path} has {key}')
    action = str(o.get('/S', ''))
    if action in FORBIDDEN_ACTIONS or (action == '/Named' and str(o.get('/N')) not in PAGE_MOVES):
        bad(f'{path}: a {action} action')
    if o.get('/Subtype') == Name.FileAttachment:
        bad(f'{path}: a file attachment annotation')


def xmp_property(root, name):
    """The text of an XMP property, as element or attribute; of an Alt its x-default, of a Seq its first."""
    prefix, local = name.split(':')
    for description in root.iterfind('.//rdf:Description', NS):
        if f'{{{NS[prefix]}}}{local}' in description.attrib:
            return description.attrib[f'{{{NS[prefix]}}}{local}']
        e = description.find(name, NS)
        if e is not None:
            items = e.findall('rdf:Alt/rdf:li', NS) + e.findall('rdf:Seq/rdf:li', NS)
            if items:
                e = next((i for i in items if i.get(LANG, 'x-default') == 'x-default'), None)
            return None if e is None else e.text or ''
    return None


def check_xmp(pdf, info, bad):
    meta = pdf.Root.get('/Metadata')
    if not isinstance(meta, Stream):
        return bad('no XMP metadata stream')
    if '/Filter' in meta:
        bad('the XMP metadata stream is filtered')
    try:
        root = ET.fromstring(meta.read_bytes())
    except ET.ParseError as e:
        return bad(f'the XMP packet is not well-formed XML: {e}')
    part, conformance = xmp_property(root, 'pdfaid:part'), xmp_property(root, 'pdfaid:conformance')
    if (part, conformance) != ('1', 'B'):
        bad(f'XMP pdfaid part {part} conformance {conformance}, not 1 and B')
    for key, name in INFO_XMP:
        ours, theirs = (str(info[key]) if key in info else None), xmp_property(root, name)
        if ours != theirs:
            bad(f'Info {key} {ours!r} but XMP {name} {theirs!r}')


def check(path):
    problems = []
    bad = lambda what: problems.append(f'{path}: {what}')  # noqa: E731
    try:
        with open(path, 'rb') as f:
            if f.read(8) != b'%PDF-1.4':
                bad('the header is not %PDF-1.4')
        pdf = pikepdf.open(path)
    except (OSError, pikepdf.PdfError) as e:
        return [f'{path}: not a readable PDF: {e}']
    with pdf:
        if pdf.is_encrypted or '/Encrypt' in pdf.trailer:
            bad('encrypted')
        if '/ID' not in pdf.trailer:
            bad('the trailer has no /ID')
        if str(pdf.Root.get('/Version', '/1.4')) != '/1.4':
            bad(f'the catalog says version {pdf.Root.Version}')
        intents = [i for i in pdf.Root.get('/OutputIntents', []) if i.get('/S') == Name.GTS_PDFA1]
        if not intents or not isinstance(intents[0].get('/DestOutputProfile'), Stream):
            bad('no GTS_PDFA1 output intent with a DestOutputProfile')
        if bool(pdf.Root.get('/AcroForm', Dictionary()).get('/NeedAppearances', False)):
            bad('the AcroForm needs appearances')
        for n, page in enumerate(pdf.pages, 1):
            for a in page.obj.get('/Annots', []):
                flags = int(a.get('/F', 0))
                if not flags & PRINT or flags & (HIDDEN | INVISIBLE | NOVIEW):
                    bad(f'page {n}: a {a.get("/Subtype")} annotation with flags {flags}')
        walk(pdf.trailer, 'trailer', set(), lambda o, p: check_object(o, p, bad))
        check_xmp(pdf, pdf.trailer.get('/Info', Dictionary()), bad)
    return problems


if __name__ == '__main__':
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    found = [line for name in sys.argv[1:] for line in check(name)]
    for line in found:
        print(line)
    sys.exit(1 if found else 0)
