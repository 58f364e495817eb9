// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// What makes a PDF job a record: metadata on which the Info dictionary and the XMP packet
/// agree, PDF/A-1b when asked for, a signature over the whole file when a key is named; and the
/// check that shows whether a file is still as it was signed.

#include "automation/Export.h"
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vxRecInfo {

/// What a print job holds, told by whoever prints it.
struct VXRECINFO_EXPORT PdfJobInfo {
    QString title;              //!< the job's title (pdfJobTitle)
    QStringList serialNumbers; //!< every serial number in the job, in order, once each
    QStringList authors;        //!< the recordings' authors, once each
};

/// The title of a job of count reports whose first has that description.
/// "vxRecInfo report" for a blank description; "... and N more" for more than one report.
VXRECINFO_EXPORT QString pdfJobTitle(const QString& firstDescription, int count);

/// How the PDF printer writes its jobs, set by a host in code for the calling apartment. A field
/// left unset comes from the host's settings object (PdfArchive, PdfSigningKey,
/// PdfPassphraseFile, when it has them), then the default: plain PDF, unsigned.
struct VXRECINFO_EXPORT PdfRecordOptions {
    std::optional<bool> archival;           //!< PDF/A-1b
    std::optional<QString> signingKey;      //!< a PKCS#12 file; "" signs nothing
    std::optional<QString> passphraseFile;  //!< its first line; "" reads $VXRECINFO_SIGN_PASSPHRASE
};
/// The calling apartment's options, to read or change; they apply to the jobs started after.
VXRECINFO_EXPORT PdfRecordOptions& pdfRecordOptions();

// A PKCS#12 key opened and checked: the passphrase opens it, it holds a private key, its
// certificate is valid now.
class SigningKey;

/// What one PDF job is made as, resolved when it starts.
struct VXRECINFO_EXPORT PdfJobSettings {
    bool archival = false;                   //!< whether the job is PDF/A-1b
    std::shared_ptr<const SigningKey> key;   //!< the key that signs the job, opened and checked; null for none
};
/// The settings for a job starting now. A key that cannot be used fails here, before anything
/// is printed: error 53 for a missing key or passphrase file, 75 for one that cannot be read, 5
/// for a wrong passphrase, no passphrase, no private key or a certificate out of its validity.
/// @throws RuntimeError 53, 75, 5; or the error of asking the host's settings object
VXRECINFO_EXPORT PdfJobSettings currentPdfJobSettings();

/// The incremental update that completes a job's PDF (the bytes Qt wrote): the whole Info
/// dictionary, a new XMP packet and, with a key, the signature over the file with the update.
/// reason is the signature's reason. Error 482 when the file cannot be completed.
/// @param pdf the job's file as Qt wrote it
/// @param info what the job holds
/// @param settings PDF/A and key, from currentPdfJobSettings()
/// @param created the job's creation date (the modification date is the time of the update)
/// @param reason the signature's reason
/// @return the bytes to append to pdf
/// @throws RuntimeError 482
VXRECINFO_EXPORT QByteArray pdfRecordUpdate(const QByteArray& pdf, const PdfJobInfo& info, const PdfJobSettings& settings,
                           const QDateTime& created, const QString& reason);

/// What a PDF file shows about its signature.
struct VXRECINFO_EXPORT PdfVerification {
    QString file;          //!< the file checked
    QString problem;       //!< why the file is not intact, empty when it is
    bool readable = false; //!< whether it is a PDF file that could be read
    bool isSigned = false; //!< whether it has a signature
    QString signer;        //!< the signing certificate's common name
    QDateTime signingTime; //!< when it was signed, as the signature says
    bool coversWholeFile = false; //!< the signed byte ranges are the whole file but the signature
    bool digestMatches = false;   //!< the signed bytes are the bytes the signature was made over

    /// Readable, signed, covering the whole file and unchanged since.
    bool intact() const { return readable && isSigned && coversWholeFile && digestMatches; }
};
/// Checks the file's last signature: readable, signed, covering the file, digest unchanged. The
/// certificate is not checked against a trust store; that is the reader's policy. Never
/// throws: what is wrong is in the result's problem.
VXRECINFO_EXPORT PdfVerification verifyPdf(const QString& path);

} // namespace vxRecInfo
