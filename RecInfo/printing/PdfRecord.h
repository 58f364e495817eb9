// SPDX-License-Identifier: MIT
#pragma once
// What makes a PDF job a record: metadata on which the Info dictionary and the XMP packet
// agree, PDF/A-1b when asked for, a signature over the whole file when a key is named; and the
// check that shows whether a file is still as it was signed.

#include "automation/Export.h"
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vxRecInfo {

// What a print job holds, told by whoever prints it.
struct VXRECINFO_EXPORT PdfJobInfo {
    QString title;
    QStringList serialNumbers; // every serial number in the job, in order, once each
    QStringList authors;
};

// The title of a job of count reports whose first has that description.
VXRECINFO_EXPORT QString pdfJobTitle(const QString& firstDescription, int count);

// How the PDF printer writes its jobs, set by a host in code for the calling apartment. A field
// left unset comes from the host's settings object (PdfArchive, PdfSigningKey,
// PdfPassphraseFile, when it has them), then the default: plain PDF, unsigned.
struct VXRECINFO_EXPORT PdfRecordOptions {
    std::optional<bool> archival;           // PDF/A-1b
    std::optional<QString> signingKey;      // a PKCS#12 file; "" signs nothing
    std::optional<QString> passphraseFile;  // its first line; "" reads $VXRECINFO_SIGN_PASSPHRASE
};
VXRECINFO_EXPORT PdfRecordOptions& pdfRecordOptions();

// A PKCS#12 key opened and checked: the passphrase opens it, it holds a private key, its
// certificate is valid now.
class SigningKey;

struct VXRECINFO_EXPORT PdfJobSettings {
    bool archival = false;
    std::shared_ptr<const SigningKey> key;
};
// The settings for a job starting now. A key that cannot be used fails here, before anything
// is printed: error 53 for a missing key or passphrase file, 75 for one that cannot be read, 5
// for a wrong passphrase, no passphrase, no private key or a certificate out of its validity.
VXRECINFO_EXPORT PdfJobSettings currentPdfJobSettings();

// The incremental update that completes a job's PDF (the bytes Qt wrote): the whole Info
// dictionary, a new XMP packet and, with a key, the signature over the file with the update.
// reason is the signature's reason. Error 482 when the file cannot be completed.
VXRECINFO_EXPORT QByteArray pdfRecordUpdate(const QByteArray& pdf, const PdfJobInfo& info, const PdfJobSettings& settings,
                           const QDateTime& created, const QString& reason);

// What a PDF file shows about its signature.
struct VXRECINFO_EXPORT PdfVerification {
    QString file;
    QString problem;       // why the file is not intact, empty when it is
    bool readable = false;
    bool isSigned = false;
    QString signer;        // the signing certificate's common name
    QDateTime signingTime;
    bool coversWholeFile = false; // the signed byte ranges are the whole file but the signature
    bool digestMatches = false;   // the signed bytes are the bytes the signature was made over

    bool intact() const { return readable && isSigned && coversWholeFile && digestMatches; }
};
// Checks the file's last signature: readable, signed, covering the file, digest unchanged. The
// certificate is not checked against a trust store; that is the reader's policy.
VXRECINFO_EXPORT PdfVerification verifyPdf(const QString& path);

} // namespace vxRecInfo
