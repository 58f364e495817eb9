// SPDX-License-Identifier: MIT
#include "PdfRecord.h"

#include "automation/Dispatch.h"
#include "automation/RuntimeError.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"

#include "Version.h"

#include <QFile>
#include <QtGlobal>

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>

// PoDoFo 0.9's headers use std::iterator, deprecated in C++17.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <podofo.h>
#pragma GCC diagnostic pop

#include <cstring>
#include <ctime>

namespace vxRecInfo {

namespace {

const QString VersionText = QStringLiteral("%1.%2.%3")
                                .arg(VXRECINFO_VERSION_MAJOR)
                                .arg(VXRECINFO_VERSION_MINOR)
                                .arg(VXRECINFO_VERSION_PATCH);

struct RecordOptionsPart {
    PdfRecordOptions options;
};

template <class T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using Bio = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using Cms = std::unique_ptr<CMS_ContentInfo, Deleter<CMS_ContentInfo, CMS_ContentInfo_free>>;
using Pkcs12 = std::unique_ptr<PKCS12, Deleter<PKCS12, PKCS12_free>>;

void freeCertificates(STACK_OF(X509) * certificates)
{
    sk_X509_pop_free(certificates, X509_free);
}

// OpenSSL's reason for the last failure, for a message.
QString opensslReason()
{
    const unsigned long code = ERR_peek_last_error();
    ERR_clear_error();
    if (code == 0)
        return QStringLiteral("no reason given");
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return QString::fromLatin1(text);
}

QString commonName(X509* certificate)
{
    X509_NAME* subject = X509_get_subject_name(certificate);
    const int at = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (at < 0)
        return {};
    unsigned char* utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, at)));
    if (length < 0)
        return {};
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(utf8), length);
    OPENSSL_free(utf8);
    return name;
}

QDateTime fromAsn1(const ASN1_TIME* time)
{
    struct tm parts {};
    if (ASN1_TIME_to_tm(time, &parts) != 1)
        return {};
    return QDateTime::fromSecsSinceEpoch(qint64(timegm(&parts)), Qt::UTC);
}

// What the host chose in code, else the member of its settings object (which may not have
// it), else Empty.
template <class T>
Variant chosen(const std::optional<T>& inCode, const QString& setting)
{
    if (inCode)
        return Variant(*inCode);
    IDispatch* settings = hostSettings();
    DispId id = 0;
    if (!settings || failed(settings->GetIDsOfNames(setting, &id)))
        return {};
    return lateGet(settings, setting);
}

QByteArray readWholeFile(const QString& path, const QString& what)
{
    QFile file(path);
    if (!file.exists())
        throw RuntimeError(Err::FileNotFound, QStringLiteral("File not found: %1 %2").arg(what, path));
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(Err::PathFileAccessError,
                           QStringLiteral("Path/File access error: %1 %2: %3").arg(what, path, file.errorString()));
    return file.readAll();
}

QByteArray passphrase(const QString& keyFile, const QString& passphraseFile)
{
    if (!passphraseFile.isEmpty()) {
        QByteArray text = readWholeFile(passphraseFile, QStringLiteral("the passphrase file"));
        const qsizetype end = text.indexOf('\n');
        if (end >= 0)
            text.truncate(end > 0 && text.at(end - 1) == '\r' ? end - 1 : end);
        return text;
    }
    if (!qEnvironmentVariableIsSet("VXRECINFO_SIGN_PASSPHRASE"))
        throw RuntimeError(Err::InvalidProcedureCall,
                           QStringLiteral("No passphrase for the signing key %1: name a passphrase file or set "
                                          "VXRECINFO_SIGN_PASSPHRASE")
                               .arg(keyFile));
    return qgetenv("VXRECINFO_SIGN_PASSPHRASE");
}

} // namespace

class SigningKey
{
public:
    // bytes: the key file's, read before its passphrase is looked for.
    SigningKey(const QString& file, const QByteArray& bytes, const QByteArray& secret)
    {
        const unsigned char* at = reinterpret_cast<const unsigned char*>(bytes.constData());
        const Pkcs12 p12(d2i_PKCS12(nullptr, &at, long(bytes.size())));
        if (!p12)
            throw unusable(file, QStringLiteral("is not a PKCS#12 file"));
        EVP_PKEY* key = nullptr;
        X509* certificate = nullptr;
        STACK_OF(X509)* chain = nullptr;
        if (PKCS12_parse(p12.get(), secret.constData(), &key, &certificate, &chain) != 1) {
            ERR_clear_error();
            throw unusable(file, QStringLiteral("does not open with the passphrase given"));
        }
        m_key.reset(key);
        m_certificate.reset(certificate);
        m_chain.reset(chain);
        if (!m_key)
            throw unusable(file, QStringLiteral("holds no private key"));
        if (!m_certificate)
            throw unusable(file, QStringLiteral("holds no certificate"));
        if (X509_check_private_key(m_certificate.get(), m_key.get()) != 1) {
            ERR_clear_error();
            throw unusable(file, QStringLiteral("holds a private key that is not its certificate's"));
        }
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QDateTime notBefore = fromAsn1(X509_get0_notBefore(m_certificate.get()));
        const QDateTime notAfter = fromAsn1(X509_get0_notAfter(m_certificate.get()));
        if (notAfter.isValid() && notAfter < now)
            throw unusable(file, QStringLiteral("has a certificate that expired on %1").arg(notAfter.toString(Qt::ISODate)));
        if (notBefore.isValid() && notBefore > now)
            throw unusable(file, QStringLiteral("has a certificate not valid before %1").arg(notBefore.toString(Qt::ISODate)));
        m_signer = commonName(m_certificate.get());
    }

    const QString& signer() const { return m_signer; }

    // A detached CMS signature with SHA-256 over data, with the signing time and the chain.
    QByteArray sign(BIO* data) const
    {
        const Cms cms(CMS_sign(nullptr, nullptr, m_chain.get(), nullptr, CMS_DETACHED | CMS_BINARY | CMS_PARTIAL));
        unsigned char* der = nullptr;
        const int length = cms && CMS_add1_signer(cms.get(), m_certificate.get(), m_key.get(), EVP_sha256(), CMS_BINARY)
                && CMS_final(cms.get(), data, nullptr, CMS_DETACHED | CMS_BINARY) == 1
            ? i2d_CMS_ContentInfo(cms.get(), &der)
            : 0;
        if (length <= 0)
            throw RuntimeError(Err::PrinterError, QStringLiteral("%1: the PDF job could not be signed: %2")
                                                      .arg(standardErrorDescription(Err::PrinterError), opensslReason()));
        QByteArray signature(reinterpret_cast<const char*>(der), length);
        OPENSSL_free(der);
        return signature;
    }

    // Room for the signature: the certificates it carries and some for the rest.
    std::size_t signatureRoom() const
    {
        std::size_t room = 4096 + std::size_t(std::max(0, i2d_X509(m_certificate.get(), nullptr)));
        for (int i = 0; m_chain && i < sk_X509_num(m_chain.get()); ++i)
            room += std::size_t(std::max(0, i2d_X509(sk_X509_value(m_chain.get(), i), nullptr)));
        return room;
    }

private:
    static RuntimeError unusable(const QString& file, const QString& why)
    {
        return RuntimeError(Err::InvalidProcedureCall, QStringLiteral("The signing key %1 %2").arg(file, why));
    }

    std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>> m_key;
    std::unique_ptr<X509, Deleter<X509, X509_free>> m_certificate;
    std::unique_ptr<STACK_OF(X509), Deleter<STACK_OF(X509), freeCertificates>> m_chain;
    QString m_signer;
};

QString pdfJobTitle(const QString& firstDescription, int count)
{
    const QString first = firstDescription.trimmed().isEmpty() ? QStringLiteral("vxRecInfo report") : firstDescription.trimmed();
    return count > 1 ? QStringLiteral("%1 and %2 more").arg(first).arg(count - 1) : first;
}

PdfRecordOptions& pdfRecordOptions()
{
    return ModuleState::current().part<RecordOptionsPart>().options;
}

PdfJobSettings currentPdfJobSettings()
{
    const PdfRecordOptions& set = pdfRecordOptions();
    PdfJobSettings settings;
    settings.archival = chosen(set.archival, QStringLiteral("PdfArchive")).toBool();
    const QString key = chosen(set.signingKey, QStringLiteral("PdfSigningKey")).toString();
    if (key.isEmpty())
        return settings;
    const QByteArray bytes = readWholeFile(key, QStringLiteral("the signing key"));
    const QString passphraseFile = chosen(set.passphraseFile, QStringLiteral("PdfPassphraseFile")).toString();
    settings.key = std::make_shared<const SigningKey>(key, bytes, passphrase(key, passphraseFile));
    return settings;
}

namespace {

using namespace PoDoFo;

// PoDoFo prints what it parses to standard output unless told not to; a host's output is its own.
void quietPodofo()
{
    static const bool quiet = [] {
        PdfError::EnableLogging(false);
        PdfError::EnableDebug(false);
        return true;
    }();
    (void)quiet;
}

PdfString pdfText(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return PdfString(reinterpret_cast<const pdf_utf8*>(utf8.constData()));
}

QString xmpDate(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

struct Metadata {
    QString title, author, subject, keywords, creator, producer;
    qint64 created = 0;
    qint64 modified = 0;
    bool archival = false;
};

// The XMP twin of the Info dictionary, property for property.
QByteArray xmpPacket(const Metadata& m)
{
    QString x;
    x += QStringLiteral("<?xpacket begin=\"\xFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                        "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                        "<dc:format>application/pdf</dc:format>\n");
    x += QStringLiteral("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n")
             .arg(m.title.toHtmlEscaped());
    if (!m.author.isEmpty())
        x += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n").arg(m.author.toHtmlEscaped());
    x += QStringLiteral("<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:description>\n")
             .arg(m.subject.toHtmlEscaped());
    x += QStringLiteral("</rdf:Description>\n"
                        "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
                        "<pdf:Keywords>%1</pdf:Keywords>\n<pdf:Producer>%2</pdf:Producer>\n"
                        "</rdf:Description>\n")
             .arg(m.keywords.toHtmlEscaped(), m.producer.toHtmlEscaped());
    x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
                        "<xmp:CreatorTool>%1</xmp:CreatorTool>\n<xmp:CreateDate>%2</xmp:CreateDate>\n"
                        "<xmp:ModifyDate>%3</xmp:ModifyDate>\n<xmp:MetadataDate>%3</xmp:MetadataDate>\n"
                        "</rdf:Description>\n")
             .arg(m.creator.toHtmlEscaped(), xmpDate(m.created), xmpDate(m.modified));
    if (m.archival)
        x += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                            "<pdfaid:part>1</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n"
                            "</rdf:Description>\n");
    x += QStringLiteral("</rdf:RDF>\n</x:xmpmeta>\n");
    // Room to edit the packet in place, as XMP writers leave it.
    for (int i = 0; i < 20; ++i)
        x += QString(99, QLatin1Char(' ')) + QLatin1Char('\n');
    x += QStringLiteral("<?xpacket end=\"w\"?>");
    return x.toUtf8();
}

QString podofoReason(const PdfError& e)
{
    return QString::fromUtf8(PdfError::ErrorMessage(e.GetError()));
}

// The update with a signature field, then the signature over the whole file.
void writeSigned(PdfMemDocument& doc, PdfOutputDevice& device, const SigningKey& key, qint64 signingTime,
                 const QString& reason)
{
    // An invisible signature field on the first page, printable as PDF/A wants annotations.
    // The form gets no default appearance: it would name a font that is not embedded.
    PdfAcroForm* form = doc.GetAcroForm(true, ePdfAcroFormDefaultAppearance_None);
    form->GetObject()->GetDictionary().AddKey(PdfName("SigFlags"), PdfObject(pdf_int64(3)));
    PdfSignatureField field(doc.GetPage(0), PdfRect(0, 0, 0, 0), &doc);
    field.SetFieldName(PdfString("Signature1"));
    field.GetWidgetAnnotation()->SetFlags(ePdfAnnotationFlags_Print);
    field.SetSignatureReason(pdfText(reason));
    field.SetSignatureDate(PdfDate(time_t(signingTime)));
    field.GetSignatureObject()->GetDictionary().AddKey(PdfName("Name"), pdfText(key.signer()));

    PdfSignOutputDevice signing(&device);
    signing.SetSignatureSize(key.signatureRoom());
    field.SetSignature(*signing.GetSignatureBeacon());
    doc.WriteUpdate(&signing, true);
    if (!signing.HasSignaturePosition())
        throw RuntimeError(Err::PrinterError, QStringLiteral("%1: the PDF job has no room for its signature")
                                                  .arg(standardErrorDescription(Err::PrinterError)));
    signing.AdjustByteRange();
    signing.Seek(0);
    const Bio data(BIO_new(BIO_s_mem()));
    char chunk[65536];
    while (const std::size_t n = signing.ReadForSignature(chunk, sizeof chunk))
        BIO_write(data.get(), chunk, int(n));
    const QByteArray signature = key.sign(data.get());
    if (std::size_t(signature.size()) > key.signatureRoom())
        throw RuntimeError(Err::PrinterError, QStringLiteral("%1: the signature does not fit the room kept for it")
                                                  .arg(standardErrorDescription(Err::PrinterError)));
    signing.SetSignature(PdfData(signature.constData(), std::size_t(signature.size())));
    signing.Flush();
}

// One attempt: the update written with its modification time at the second `modified`. The
// writer stamps the Info dictionary's ModDate itself, so the caller checks it hit that second.
bool writeUpdate(const QByteArray& pdf, const Metadata& m, const PdfJobSettings& settings, const QString& reason,
                 PdfRefCountedBuffer& out)
{
    PdfMemDocument doc;
    doc.LoadFromBuffer(pdf.constData(), long(pdf.size()), true);

    PdfInfo* pdfInfo = doc.GetInfo();
    pdfInfo->SetTitle(pdfText(m.title));
    if (!m.author.isEmpty())
        pdfInfo->SetAuthor(pdfText(m.author));
    pdfInfo->SetSubject(pdfText(m.subject));
    pdfInfo->SetKeywords(pdfText(m.keywords));
    pdfInfo->SetCreator(pdfText(m.creator));
    pdfInfo->SetProducer(pdfText(m.producer));
    PdfString created;
    PdfDate(time_t(m.created)).ToString(created);
    pdfInfo->GetObject()->GetDictionary().AddKey(PdfName("CreationDate"), created);

    const QByteArray xmp = xmpPacket(m);
    PdfObject* metadata = doc.GetObjects().CreateObject("Metadata");
    metadata->GetDictionary().AddKey(PdfName("Subtype"), PdfName("XML"));
    metadata->GetStream()->Set(xmp.constData(), pdf_long(xmp.size()), TVecFilters());
    doc.GetCatalog()->GetDictionary().AddKey(PdfName("Metadata"), metadata->Reference());

    PdfOutputDevice device(&out);
    if (settings.key)
        writeSigned(doc, device, *settings.key, m.modified, reason);
    else
        doc.WriteUpdate(&device, true);
    return doc.GetInfo()->GetModDate().GetTime() == time_t(m.modified);
}


} // namespace

QByteArray pdfRecordUpdate(const QByteArray& pdf, const PdfJobInfo& info, const PdfJobSettings& settings,
                           const QDateTime& created, const QString& reason)
{
    Metadata m;
    m.title = pdfJobTitle(info.title, 1);
    m.author = info.authors.join(QStringLiteral("; "));
    m.keywords = info.serialNumbers.join(QStringLiteral(", "));
    m.subject = info.serialNumbers.isEmpty() ? reason : reason + QStringLiteral(": ") + m.keywords;
    m.creator = QStringLiteral("vxRecInfo ") + VersionText;
    m.producer = QStringLiteral("vxRecInfo %1 (Qt %2, PoDoFo %3.%4.%5)")
                     .arg(VersionText, QString::fromLatin1(qVersion()))
                     .arg(PODOFO_VERSION_MAJOR)
                     .arg(PODOFO_VERSION_MINOR)
                     .arg(PODOFO_VERSION_PATCH);
    m.created = created.toSecsSinceEpoch();
    m.archival = settings.archival;
    quietPodofo();
    try {
        // The writer dates the update itself, with time(); a second that turns between our
        // reading of the clock and its would part the two dates, so that attempt is made again.
        // The same clock, not Qt's: time() is the coarse clock, a tick behind, and five attempts
        // fit in that tick.
        for (int attempt = 0; attempt < 5; ++attempt) {
            m.modified = std::time(nullptr);
            PdfRefCountedBuffer out;
            if (!writeUpdate(pdf, m, settings, reason, out))
                continue;
            const std::size_t size = out.GetSize();
            if (size < std::size_t(pdf.size()) || std::memcmp(out.GetBuffer(), pdf.constData(), std::size_t(pdf.size())) != 0)
                throw RuntimeError(Err::InternalError,
                                   QStringLiteral("Internal error: the PDF update does not keep the file it updates"));
            return QByteArray(out.GetBuffer() + pdf.size(), qsizetype(size) - pdf.size());
        }
    } catch (const PdfError& e) {
        throw RuntimeError(Err::PrinterError, QStringLiteral("%1: the PDF job could not be completed: %2")
                                                  .arg(standardErrorDescription(Err::PrinterError), podofoReason(e)));
    }
    throw RuntimeError(Err::PrinterError, QStringLiteral("%1: the PDF job's dates could not be made to agree")
                                              .arg(standardErrorDescription(Err::PrinterError)));
}

namespace {

// A string object, literal or hexadecimal (signature contents are hexadecimal).
bool isText(const PoDoFo::PdfObject* object)
{
    return object && (object->IsString() || object->IsHexString());
}

} // namespace

PdfVerification verifyPdf(const QString& path)
{
    PdfVerification result;
    result.file = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = file.exists() ? QStringLiteral("cannot be read: %1").arg(file.errorString())
                                       : QStringLiteral("is not there");
        return result;
    }
    const QByteArray bytes = file.readAll();
    quietPodofo();
    PdfMemDocument doc;
    try {
        doc.LoadFromBuffer(bytes.constData(), long(bytes.size()));
    } catch (const PdfError& e) {
        result.problem = QStringLiteral("is not a readable PDF file (%1)").arg(podofoReason(e));
        return result;
    }
    result.readable = true;

    // The signature dictionary that signs the most of the file: the last one made.
    const PdfObject* signature = nullptr;
    qint64 signedUpTo = -1;
    try {
        PdfAcroForm* form = doc.GetAcroForm(false);
        const PdfObject* fields = form ? form->GetObject()->GetIndirectKey(PdfName("Fields")) : nullptr;
        if (fields && fields->IsArray()) {
            for (const PdfObject& entry : fields->GetArray()) {
                const PdfObject* field = entry.IsReference() ? doc.GetObjects().GetObject(entry.GetReference()) : &entry;
                if (!field || !field->IsDictionary())
                    continue;
                const PdfObject* type = field->GetIndirectKey(PdfName("FT"));
                const PdfObject* value = field->GetIndirectKey(PdfName("V"));
                if (!type || !type->IsName() || type->GetName() != PdfName("Sig") || !value || !value->IsDictionary())
                    continue;
                const PdfObject* range = value->GetIndirectKey(PdfName("ByteRange"));
                if (!range || !range->IsArray() || range->GetArray().size() != 4)
                    continue;
                const qint64 end = range->GetArray()[2].GetNumber() + range->GetArray()[3].GetNumber();
                if (end > signedUpTo) {
                    signedUpTo = end;
                    signature = value;
                }
            }
        }
    } catch (const PdfError& e) {
        result.problem = QStringLiteral("has a signature that cannot be read (%1)").arg(podofoReason(e));
        return result;
    }
    if (!signature) {
        result.problem = QStringLiteral("is not signed");
        return result;
    }
    result.isSigned = true;
    if (const PdfObject* name = signature->GetIndirectKey(PdfName("Name")); isText(name))
        result.signer = QString::fromUtf8(name->GetString().GetStringUtf8().c_str());
    if (const PdfObject* when = signature->GetIndirectKey(PdfName("M")); isText(when)) {
        const PdfDate date(when->GetString());
        if (date.IsValid())
            result.signingTime = QDateTime::fromSecsSinceEpoch(qint64(date.GetTime()), Qt::UTC);
    }

    const PdfArray& range = signature->GetIndirectKey(PdfName("ByteRange"))->GetArray();
    const qint64 a = range[0].GetNumber(), b = range[1].GetNumber(), c = range[2].GetNumber(), d = range[3].GetNumber();
    const qint64 size = bytes.size();
    if (a != 0 || b <= 0 || c < b || d < 0 || c + d > size) {
        result.problem = QStringLiteral("has a signed byte range outside the file");
        return result;
    }
    result.coversWholeFile = c + d == size;

    const PdfObject* contents = signature->GetIndirectKey(PdfName("Contents"));
    if (!isText(contents)) {
        result.problem = QStringLiteral("has a signature without contents");
        return result;
    }
    const PdfString& der = contents->GetString();
    const unsigned char* at = reinterpret_cast<const unsigned char*>(der.GetString());
    const Cms cms(d2i_CMS_ContentInfo(nullptr, &at, long(der.GetLength())));
    if (!cms) {
        ERR_clear_error();
        result.problem = QStringLiteral("has a signature that is not CMS");
        return result;
    }
    const Bio data(BIO_new(BIO_s_mem()));
    BIO_write(data.get(), bytes.constData(), int(b));
    BIO_write(data.get(), bytes.constData() + c, int(d));
    result.digestMatches = CMS_verify(cms.get(), nullptr, nullptr, data.get(), nullptr,
                                      CMS_DETACHED | CMS_BINARY | CMS_NO_SIGNER_CERT_VERIFY)
        == 1;
    const QString why = result.digestMatches ? QString() : opensslReason();
    if (STACK_OF(X509)* signers = CMS_get0_signers(cms.get())) {
        if (sk_X509_num(signers) > 0)
            result.signer = commonName(sk_X509_value(signers, 0));
        sk_X509_free(signers);
    }
    if (!result.digestMatches)
        result.problem = QStringLiteral("was altered after it was signed: the digest does not match (%1)").arg(why);
    else if (!result.coversWholeFile)
        result.problem = QStringLiteral("was changed after it was signed: %1 bytes follow the signed range").arg(size - c - d);
    return result;
}

} // namespace vxRecInfo
