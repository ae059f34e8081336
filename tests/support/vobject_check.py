#!/usr/bin/python3
"""Checks the vCard reader and writer against an independent parser, vobject:
a card that vobject writes in 3.0 and a hand-written 2.1 card with
quoted-printable go through the reader and the writer (the vcard_convert
program, the argument), and vobject reads back what they held, value for
value, from the 4.0 card written."""
import base64
import io
import subprocess
import sys

import vobject

CONVERT = sys.argv[1]
PICTURE = bytes([0xFF, 0xD8, 0xFF, 0xE0]) + bytes(range(256)) * 2
PLACE_KEYS = ("street", "city", "region", "code", "country")
failures = []


def check(name, expected, got):
    if expected != got:
        failures.append(f"{name}: expected {expected!r}, got {got!r}")


def convert(card):
    """The card through the reader and the writer, as fields that vobject reads."""
    result = subprocess.run([CONVERT], input=card, capture_output=True)
    check("a card read", 0, result.returncode)
    text = result.stdout
    lines = text.split(b"\r\n")
    check("line ends", b"", lines[-1])
    check("lines of 75 octets at most", [], [line for line in lines if len(line) > 75 or b"\n" in line])
    card = vobject.readOne(text.decode("utf-8"))
    check("VERSION", "4.0", card.version.value)
    name = card.n.value
    fields = {"fn": card.fn.value, "family": name.family, "given": name.given, "additional": name.additional,
              "prefix": name.prefix, "title": card.title.value if "title" in card.contents else ""}
    if "nickname" in card.contents:
        fields["nickname"] = card.nickname.value
    if "org" in card.contents:
        fields["org"], fields["unit"] = (card.org.value + [""])[:2]
    emails = card.contents.get("email", [])
    fields["email"] = [e.value for e in emails]
    check("EMAIL PREF", [["1"]] + [None] * (len(emails) - 1), [e.params.get("PREF") for e in emails])
    for adr in card.contents.get("adr", []):
        kind = adr.params["TYPE"][0].lower()
        for key in PLACE_KEYS:
            fields[f"{kind}.{key}"] = getattr(adr.value, key)
    for tel in card.contents.get("tel", []):
        kind, use = (t.lower() for t in tel.params["TYPE"])
        fields[f"{kind}.{use}"] = tel.value
    for url in card.contents.get("url", []):
        fields[f"{url.params['TYPE'][0].lower()}.url"] = url.value
    if "x-vcard-pc-account" in card.contents:
        fields["account"] = card.contents["x-vcard-pc-account"][0].value
    # vobject's text rules cut the data URI at its comma: its own unfolding
    # and line parsing, without them.
    photos = [vobject.base.parseLine(line)[2] for line, _ in vobject.base.getLogicalLines(io.StringIO(
        text.decode("utf-8"))) if line.upper().startswith("PHOTO")]
    if photos:
        header, _, data = photos[0].partition(",")
        fields["phototype"], fields["photo"] = header, base64.b64decode(data)
    return {key: value for key, value in fields.items() if value}


def check_vobject_30():
    card = vobject.vCard()
    card.add("fn").value = "Dr. José Müller, Jr."
    card.add("n").value = vobject.vcard.Name(family="Müller; Peña", given="José", additional="María", prefix="Dr.")
    card.add("nickname").value = "Pepe, el \\ grande"
    for address, types in (("j,m@example.org", ["INTERNET"]), ("jose@example.net", ["INTERNET", "PREF"])):
        email = card.add("email")
        email.value = address
        email.type_param = types
    for kind, street, city in (("HOME", "Calle Mayor 1\nPiso 2º", "Córdoba"), ("WORK", "Avenida 5", "Zürich")):
        adr = card.add("adr")
        adr.value = vobject.vcard.Address(street=street, city=city, region="Andalucía", code="14001", country="España")
        adr.type_param = kind
    for number, types in (("+34 957 000 001", ["HOME", "VOICE"]), ("+34 600 000 002", ["CELL"]),
                          ("+41 44 000 004", ["WORK", "FAX"]), ("+41 44 000 003", ["WORK", "VOICE"])):
        tel = card.add("tel")
        tel.value = number
        tel.type_param = types
    for address, kind in (("http://pepe.example/a,b;c", "HOME"), ("http://acme.example", "WORK")):
        url = card.add("url")
        url.value = address
        url.type_param = kind
    card.add("org").value = ["Acme; Söhne", "Forschung"]
    card.add("title").value = "Ingeniero " + "muy " * 30 + "largo €"
    card.add("x-vcard-pc-account").value = "jose@example.net"
    photo = card.add("photo")
    photo.value = PICTURE
    photo.encoding_param = "b"
    photo.type_param = "JPEG"
    check("3.0 fields", {
        "fn": "Dr. José Müller, Jr.", "family": "Müller; Peña", "given": "José", "additional": "María",
        "prefix": "Dr.", "nickname": "Pepe, el \\ grande", "email": ["jose@example.net", "j,m@example.org"],
        "home.street": "Calle Mayor 1\nPiso 2º", "home.city": "Córdoba", "home.region": "Andalucía",
        "home.code": "14001", "home.country": "España", "work.street": "Avenida 5", "work.city": "Zürich",
        "work.region": "Andalucía", "work.code": "14001", "work.country": "España",
        "home.voice": "+34 957 000 001", "home.cell": "+34 600 000 002", "work.fax": "+41 44 000 004",
        "work.voice": "+41 44 000 003", "home.url": "http://pepe.example/a,b;c", "work.url": "http://acme.example",
        "org": "Acme; Söhne", "unit": "Forschung", "title": "Ingeniero " + "muy " * 30 + "largo €",
        "account": "jose@example.net", "photo": PICTURE, "phototype": "data:image/jpeg;base64"},
        convert(card.serialize().encode("utf-8")))


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
    check("2.1 fields", {
        "family": "García", "given": "María", "prefix": "Sra.",
        "fn": "María García López de la Fuente y Martínez", "home.street": "Calle Sol 3\n2º izq.",
        "home.city": "León", "home.code": "24001", "home.country": "España", "home.voice": "987 000 001",
        "home.cell": "600 000 002", "work.fax": "987 000 003", "email": ["maria@example.es", "otra@example.es"],
        "org": "Café Sol", "unit": "Cocina", "title": "Jefa", "photo": PICTURE,
        "phototype": "data:image/jpeg;base64"}, convert(card))


for test in (check_vobject_30, check_hand_written_21):
    before = len(failures)
    try:
        test()
    except Exception as error:  # a crash is a failure of that check
        failures.append(f"{test.__name__}: {error!r}")
    print(f"{test.__name__}: {'ok' if len(failures) == before else 'FAILED'}")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
