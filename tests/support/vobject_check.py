#!/usr/bin/python3
"""Checks the vCard reader and writer against an independent parser, vobject:
what the writer writes, vobject reads value for value; cards that vobject
writes in 3.0, and hand-written 2.1 cards with quoted-printable, the reader
reads value for value. Argument: the vcard_convert program."""
import base64
import io
import subprocess
import sys

import vobject

CONVERT = sys.argv[1]
failures = []


def check(name, expected, got):
    if expected != got:
        failures.append(f"{name}: expected {expected!r}, got {got!r}")


def escape(value):
    return value.replace("\\", "\\\\").replace("\n", "\\n")


def unescape(value):
    out, i = [], 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            i += 1
            out.append("\n" if value[i] == "n" else value[i])
        else:
            out.append(value[i])
        i += 1
    return "".join(out)


def write(fields):
    lines = "".join(f"{key}={escape(value)}\n" for key, value in fields)
    return subprocess.run([CONVERT, "write"], input=lines.encode(), capture_output=True, check=True).stdout


def read(card):
    result = subprocess.run([CONVERT, "read"], input=card, capture_output=True)
    fields = {}
    for line in result.stdout.decode().splitlines():
        key, _, value = line.partition("=")
        value = unescape(value)
        if key == "email":
            fields.setdefault(key, []).append(value)
        else:
            fields[key] = value
    return result.returncode, fields


PICTURE = bytes([0xFF, 0xD8, 0xFF, 0xE0]) + bytes(range(256)) * 2

EXPORTED = [
    ("fn", "Dr. José Müller, Jr."), ("family", "Müller; Peña"), ("given", "José"), ("additional", "María"),
    ("prefix", "Dr."), ("nickname", "Pepe, el \\ grande"), ("email", "jose@example.net"),
    ("email", "j,m@example.org"), ("home.street", "Calle Mayor 1\nPiso 2º"), ("home.city", "Córdoba"),
    ("home.region", "Andalucía"), ("home.code", "14001"), ("home.country", "España"), ("home.voice", "+34 957 000 001"),
    ("home.cell", "+34 600 000 002"), ("home.url", "http://pepe.example/a,b;c"), ("work.street", "Avenida 5"),
    ("work.city", "Zürich"), ("work.voice", "+41 44 000 003"), ("work.fax", "+41 44 000 004"),
    ("work.url", "http://acme.example"), ("org", "Acme; Söhne"), ("unit", "Forschung"),
    ("title", "Ingeniero " + "muy " * 30 + "largo €"), ("phototype", "image/jpeg"), ("photo", PICTURE.hex()),
    ("account", "jose@example.net"),
]


def check_export():
    text = write(EXPORTED)
    expected = dict(EXPORTED)
    lines = text.split(b"\r\n")
    check("line ends", b"", lines[-1])
    check("lines of 75 octets at most", [], [line for line in lines if len(line) > 75 or b"\n" in line])
    card = vobject.readOne(text.decode("utf-8"))
    check("VERSION", "4.0", card.version.value)
    check("FN", expected["fn"], card.fn.value)
    name = card.n.value
    check("N", [expected[k] for k in ("family", "given", "additional", "prefix")],
          [name.family, name.given, name.additional, name.prefix])
    check("NICKNAME", expected["nickname"], card.nickname.value)
    check("EMAIL", ["jose@example.net", "j,m@example.org"], [e.value for e in card.email_list])
    check("EMAIL PREF", (["1"], None), (card.email_list[0].params.get("PREF"), card.email_list[1].params.get("PREF")))
    places = {}
    for adr in card.adr_list:
        a = adr.value
        places[tuple(t.lower() for t in adr.params["TYPE"])] = [a.street, a.city, a.region, a.code, a.country]
    for kind in ("home", "work"):
        check(f"ADR {kind}", [expected.get(f"{kind}.{k}", "") for k in ("street", "city", "region", "code", "country")],
              places.get((kind,)))
    phones = {tuple(t.lower() for t in tel.params["TYPE"]): tel.value for tel in card.tel_list}
    check("TEL", {("home", "voice"): expected["home.voice"], ("home", "cell"): expected["home.cell"],
                  ("work", "voice"): expected["work.voice"], ("work", "fax"): expected["work.fax"]}, phones)
    urls = {url.params["TYPE"][0].lower(): url.value for url in card.url_list}
    check("URL", {"home": expected["home.url"], "work": expected["work.url"]}, urls)
    check("ORG", [expected["org"], expected["unit"]], card.org.value)
    check("TITLE", expected["title"], card.title.value)
    check("account", expected["account"], card.contents["x-vcard-pc-account"][0].value)
    # vobject's text rules cut the data URI at its comma: its own unfolding
    # and line parsing, without them.
    photos = [vobject.base.parseLine(line)[2] for line, _ in vobject.base.getLogicalLines(io.StringIO(
        text.decode("utf-8"))) if line.upper().startswith("PHOTO")]
    header, _, data = photos[0].partition(",")
    check("PHOTO media type", "data:image/jpeg;base64", header)
    check("PHOTO bytes", PICTURE, base64.b64decode(data))


def check_vobject_30():
    card = vobject.vCard()
    card.add("fn").value = "Renée O'Neil, PhD"
    card.add("n").value = vobject.vcard.Name(family="O'Neil", given="Renée", additional="Anne", prefix="Ms.")
    card.add("nickname").value = "Ren; R."
    for address, types in (("second@example.com", ["INTERNET"]), ("first@example.com", ["INTERNET", "PREF"])):
        email = card.add("email")
        email.value = address
        email.type_param = types
    for kind, street, city in (("HOME", "12 Rue de l'Église\nBât. B", "Québec"), ("WORK", "1 Main St", "Ottawa")):
        adr = card.add("adr")
        adr.value = vobject.vcard.Address(street=street, city=city, region="QC", code="G1A", country="Canada")
        adr.type_param = kind
    for number, types in (("+1 418 555 0100", ["HOME", "VOICE"]), ("+1 418 555 0101", ["CELL"]),
                          ("+1 613 555 0102", ["WORK", "FAX"]), ("+1 613 555 0103", ["WORK", "VOICE"])):
        tel = card.add("tel")
        tel.value = number
        tel.type_param = types
    url = card.add("url")
    url.value = "http://work.example/x,y"
    url.type_param = "WORK"
    card.add("org").value = ["Bureau, Inc.", "Ventes"]
    card.add("title").value = "Directrice"
    photo = card.add("photo")
    photo.value = PICTURE
    photo.encoding_param = "b"
    photo.type_param = "JPEG"
    status, got = read(card.serialize().encode("utf-8"))
    check("3.0 read", 0, status)
    check("3.0 fields", {
        "fn": "Renée O'Neil, PhD", "family": "O'Neil", "given": "Renée", "additional": "Anne", "prefix": "Ms.",
        "nickname": "Ren; R.", "email": ["first@example.com", "second@example.com"],
        "home.street": "12 Rue de l'Église\nBât. B", "home.city": "Québec", "home.region": "QC",
        "home.code": "G1A", "home.country": "Canada", "work.street": "1 Main St", "work.city": "Ottawa",
        "work.region": "QC", "work.code": "G1A", "work.country": "Canada", "home.voice": "+1 418 555 0100",
        "home.cell": "+1 418 555 0101", "work.fax": "+1 613 555 0102", "work.voice": "+1 613 555 0103",
        "work.url": "http://work.example/x,y", "org": "Bureau, Inc.", "unit": "Ventes", "title": "Directrice",
        "photo": PICTURE.hex(), "phototype": "image/jpeg"}, got)


def check_hand_written_21():
    picture = base64.encodebytes(PICTURE).decode().replace("\n", "\r\n ")
    card = ("BEGIN:VCARD\r\nVERSION:2.1\r\n"
            "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Garc=C3=ADa;Mar=C3=ADa;;Sra.;\r\n"
            "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Mar=EDa Garc=EDa L=F3pez de la Fuente y Mart=\r\n"
            "=EDnez\r\n"
            "ADR;HOME;ENCODING=QUOTED-PRINTABLE:;;Calle Sol 3=0D=0A2=BA izq.;Le=F3n;;24001;Espa=F1a\r\n"
            "TEL;HOME;VOICE:987 000 001\r\nTEL;CELL:600 000 002\r\nTEL;WORK;FAX:987 000 003\r\n"
            "EMAIL;INTERNET:otra@example.es\r\nEMAIL;PREF;INTERNET:maria@example.es\r\n"
            "ORG;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Caf=C3=A9 Sol;Cocina\r\nTITLE:Jefa\r\n"
            "PHOTO;JPEG;ENCODING=BASE64:\r\n " + picture + "\r\n"
            "END:VCARD\r\n").encode("latin-1")
    status, got = read(card)
    check("2.1 read", 0, status)
    check("2.1 fields", {
        "family": "García", "given": "María", "prefix": "Sra.",
        "fn": "María García López de la Fuente y Martínez", "home.street": "Calle Sol 3\n2º izq.",
        "home.city": "León", "home.code": "24001", "home.country": "España", "home.voice": "987 000 001",
        "home.cell": "600 000 002", "work.fax": "987 000 003", "email": ["maria@example.es", "otra@example.es"],
        "org": "Café Sol", "unit": "Cocina", "title": "Jefa", "photo": PICTURE.hex(), "phototype": "image/jpeg"}, got)


for test in (check_export, check_vobject_30, check_hand_written_21):
    before = len(failures)
    try:
        test()
    except Exception as error:  # a crash is a failure of that check
        failures.append(f"{test.__name__}: {error!r}")
    print(f"{test.__name__}: {'ok' if len(failures) == before else 'FAILED'}")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
