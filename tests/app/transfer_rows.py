#!/usr/bin/python3
"""Prints what a salary transfer file pays, read with python-lxml.

usage: transfer_rows.py TRANSFER.xml

First line: MsgId PmtInfId ReqdExctnDt; then one line per transaction:
InstrId EndToEndId IBAN amount-in-cents creditor name. CBI and SEPA files
alike, whatever their namespace.
"""
import sys
from decimal import Decimal

from lxml import etree

doc = etree.parse(sys.argv[1])


def one(node, path):
    found = node.xpath(path)
    if len(found) != 1:
        sys.exit(f"{path}: {len(found)} found")
    return found[0].text


def local(*names):
    return "/".join(f"*[local-name()='{n}']" for n in names)


payment = doc.xpath("//" + local("PmtInf"))[0]
date = payment.xpath(local("ReqdExctnDt"))[0]
date = date.xpath(local("Dt"))[0].text if len(date) else date.text
print(one(doc, "//" + local("GrpHdr", "MsgId")), one(payment, local("PmtInfId")), date)
for tx in payment.xpath(local("CdtTrfTxInf")):
    cents = int(Decimal(one(tx, local("Amt", "InstdAmt"))) * 100)
    print(one(tx, local("PmtId", "InstrId")), one(tx, local("PmtId", "EndToEndId")),
          one(tx, local("CdtrAcct", "Id", "IBAN")), cents, one(tx, local("Cdtr", "Nm")))
