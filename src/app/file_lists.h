#pragma once

#include <QFileSystemWatcher>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;

namespace zentorix::app {

// A folder list above a file list of the files the program opens (the pairs
// DirectoryListBox1 / FileListBox1 of the museum page and DirectoryListBox2 /
// FileListBox2 of Panel42). Choosing a file, also by moving through the list
// with the arrow keys, asks for it to be opened; clicking a folder goes into
// it, and so does a folder typed into the path box above the lists. Both lists take the keyboard
// focus when the pointer moves over them, so the arrow keys work at once. The lists follow changes
// of the folder on disk.
class FolderFileLists : public QWidget {
    Q_OBJECT

  public:
    // The files listed: "*.mcl;*.lif;*.l;*.zlf;*.qlf;*.mlf;*.ini;*.rle;*.bmp;".
    static QStringList FileMask();

    FolderFileLists(const char* folderListName, const char* fileListName, const QString& folder,
                    QWidget* parent = nullptr);

    QString folder() const { return folder_; }
    // Lists the folder (a folder that does not exist leaves the lists as they are).
    void SetFolder(const QString& folder);
    // Lists the folder again; the chosen file stays chosen without being opened again.
    void Refresh();
    QListWidget* folderList() const { return folders_; }
    QListWidget* fileList() const { return files_; }
    // The box above the folder list: a typed folder and Enter list it.
    QLineEdit* pathBox() const { return path_; }

  signals:
    // A file was chosen (path with its folder).
    void FileChosen(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillFolders();
    void FillFiles();
    void FolderClicked(const QString& path);
    void GoToTypedFolder();

    QLineEdit* path_ = nullptr;
    QListWidget* folders_ = nullptr;
    QListWidget* files_ = nullptr;
    QString folder_;
    QFileSystemWatcher watcher_;
    bool focusArriving_ = false;
};

}  // namespace zentorix::app
