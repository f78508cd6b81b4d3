#pragma once
// A double click on a BT board post (ListView18) reads the post and shows it
// in the film detail window Form11; a post it cannot read is offered to the
// browser instead.
#include "net/page_fetcher.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace lumorra {

class FilmDetailWindow;
class ResultList;

QString filmDetailFailedText(const FetchResult& result);

class FilmDetailView : public QObject {
    Q_OBJECT
public:
    explicit FilmDetailView(QWidget* form1);
    ~FilmDetailView() override;

    // The instance installed on form1, or nullptr.
    static FilmDetailView* of(QWidget* form1);

    void ListView18_DblClick();

    // The open Form11, or nullptr.
    FilmDetailWindow* form11() const;

signals:
    // The double click's post has been handled: Form11 shown (`shown`), or
    // the post could not be read or did not arrive.
    void detailEnded(bool shown);

private:
    void showPost(const QString& postAddress, const QString& post);

    QWidget* m_form1;
    ResultList* m_boardPosts = nullptr;   // ListView18
    LatestFetch m_postFetch;
    QPointer<FilmDetailWindow> m_form11;
};

// Connects ListView18's double click under form1. Calling it again on the
// same window does nothing.
void installFilmDetailView(QWidget* form1);

} // namespace lumorra
