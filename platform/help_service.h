#pragma once
// The program's help. The help file is named by the language file; it may be
// a local file (absolute, or relative to the program folder) or a URL. When
// it cannot be found every call returns false and the caller says there is
// no help ("nofilehelp").
#include <QString>

class QWidget;

namespace platform {

class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void setHelpFile(const QString& file) = 0;
    virtual QString helpFile() const = 0;
    // Table of contents.
    virtual bool showContents(QWidget* parent = nullptr) = 0;
    // Keyword search (an empty keyword opens the search with nothing typed).
    virtual bool searchKeyword(const QString& keyword = {}, QWidget* parent = nullptr) = 0;
    // The topic of a window or dialog, by its context number.
    virtual bool showContext(int context, QWidget* parent = nullptr) = 0;
};

class QtHelpService : public HelpService {
public:
    // Relative help file names are looked up in programFolder (default: the
    // folder of the executable).
    explicit QtHelpService(QString programFolder = {});
    void setHelpFile(const QString& file) override { m_file = file; }
    QString helpFile() const override { return m_file; }
    bool showContents(QWidget* parent = nullptr) override;
    bool searchKeyword(const QString& keyword = {}, QWidget* parent = nullptr) override;
    bool showContext(int context, QWidget* parent = nullptr) override;

    // The URL the help file resolves to, or an empty URL when there is none.
    QString resolvedUrl() const;

private:
    bool open(const QString& fragment, const QString* keyword = nullptr);
    QString m_programFolder;
    QString m_file;
};

} // namespace platform
