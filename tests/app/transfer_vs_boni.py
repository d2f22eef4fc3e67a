#!/usr/bin/python3
"""Compares a salary transfer file with the BONI file of the same run.

usage: transfer_vs_boni.py TRANSFER.xml BONIxxxBn.TXT SCHEMA.xsd [EXCLUDED-CODE...]

The XML must validate against the schema and hold, in the BONI file's order,
every employee of the BONI file but the excluded ones: the same code (in the
end-to-end id), surname and name with accents dropped, net pay to the cent,
IBAN, and the BIC when python-stdnum finds it valid and of the IBAN's
country; NbOfTxs and CtrlSum must be the count and the sum. Excluded
employees must be in the BONI file and absent from the XML. Prints what
differs and exits 1; exits 0 when all agree.
"""
import re
import sys
import unicodedata
from decimal import Decimal

from lxml import etree
from stdnum import bic as stdbic
from stdnum import iban as stdiban

xml_path, boni_path, schema_path, *excluded = sys.argv[1:]
problems = []

doc = etree.parse(xml_path)
schema = etree.XMLSchema(etree.parse(schema_path))
if not schema.validate(doc):
    problems.append(f"schema: {schema.error_log}")
ns = {"p": doc.getroot().nsmap[None]}


def fold(text):
    """Latin letters without their accents, as a bank's character set has them."""
    return unicodedata.normalize("NFKD", text).encode("ascii", "ignore").decode()


expected = []
boni_codes = set()
with open(boni_path, encoding="cp1252", newline="") as boni:
    for line in boni.read().split("\r\n")[1:]:
        if not line:
            continue
        f = line.split(";")
        code = f[0] + f[1] + f[2]
        boni_codes.add(code)
        if code in excluded:
            continue
        bic = f[11].strip()
        iban = f[10].strip()
        expected.append({
            "code": code,
            "name": fold(f[3].strip() + " " + f[4].strip())[:70],
            "amount": Decimal(f[8].strip().replace(",", ".")),
            "iban": iban,
            # A BIC of another country than the IBAN's would send the money
            # elsewhere: the file goes by the IBAN alone.
            "bic": bic if stdbic.is_valid(bic) and bic[4:6] == iban[:2] else None,
        })

actual = []
for tx in doc.iterfind(".//p:CdtTrfTxInf", ns):
    actual.append({
        "code": re.search(r"-(\w{10})B\d-", tx.findtext("p:PmtId/p:EndToEndId", namespaces=ns)).group(1),
        "name": tx.findtext("p:Cdtr/p:Nm", namespaces=ns),
        "amount": Decimal(tx.findtext("p:Amt/p:InstdAmt", namespaces=ns)),
        "iban": tx.findtext("p:CdtrAcct/p:Id/p:IBAN", namespaces=ns),
        "bic": tx.findtext("p:CdtrAgt/p:FinInstnId/p:BICFI", namespaces=ns),
    })
    if tx.find("p:Amt/p:InstdAmt", ns).get("Ccy") != "EUR":
        problems.append("currency is not EUR")
    if not stdiban.is_valid(actual[-1]["iban"]):
        problems.append(f"{actual[-1]['iban']} is not a valid IBAN")

if actual != expected:
    problems.append(f"transactions differ:\n  file: {actual}\n  BONI: {expected}")
for code in excluded:
    if code not in boni_codes:
        problems.append(f"{code} is not in the BONI file")
count = str(len(expected))
total = sum((e["amount"] for e in expected), Decimal("0.00"))
for header in doc.iterfind(".//p:NbOfTxs", ns):
    if header.text != count:
        problems.append(f"NbOfTxs {header.text}, expected {count}")
for header in doc.iterfind(".//p:CtrlSum", ns):
    if Decimal(header.text) != total:
        problems.append(f"CtrlSum {header.text}, expected {total}")
epc = re.compile(r"^[A-Za-z0-9/\-?:().,'+ ]*$")
for element in doc.iter():
    if isinstance(element.tag, str) and element.text and not epc.match(element.text.strip()):
        problems.append(f"{element.tag}: '{element.text}' outside the bank's character set")

print("\n".join(problems) if problems else "ok")
sys.exit(1 if problems else 0)
