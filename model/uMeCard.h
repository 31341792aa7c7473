#pragma once

#include "model/uVCard.h"

#include <QByteArray>

// The contact in the compact form phones read from QR codes, in UTF-8:
// "MECARD:" and the fields N (family and given name), ORG, TEL (phones and
// mobiles), EMAIL, URL, ADR and NOTE, each ended by ";", the whole by one
// more. It has no field for a fax, a title or a profession: they are left
// out, the vCard keeps them.
QByteArray WriteMeCard(const TContact &contact);
