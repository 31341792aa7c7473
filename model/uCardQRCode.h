#pragma once

#include "model/uQRCodeSettings.h"

#include <QByteArray>

class TDocument;

// Whether the card has anything for its QR code: a name for its vCard, an
// address for the web.
bool HasQRCodeData(const TDocument &document);
// What the card's QR code holds: the card's contact in that form (a vCard
// for Automatisch), or the web address with "https://" when it names no
// scheme. Empty when there is nothing to show.
QByteArray QRCodeText(const TDocument &document, TQRCodeSettings::TForm form);
// Whether the settings put the card's QR code on that side (for an
// automatic corner: the side looked at first); a card without a back shows
// it on its front, a card without its data nowhere.
bool QRCodeOnSide(const TDocument &document, bool back);
