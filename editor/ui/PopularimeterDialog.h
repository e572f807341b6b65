// CPopularimeterDialog: edits a popularimeter frame (POPM): the user's e-mail address, the rating
// (0 = worst to 255 = best) on a slider, and the play counter, which OK accepts only as an
// unsigned 32-bit number.
#pragma once

#include "editor/ui/FrameBaseDialog.h"

class QLineEdit;
class QSlider;

namespace Tags::ID3v2Tag
{
class CPopularimeterFrame;
}

class CPopularimeterDialog : public CFrameBaseDialog
{
    Q_OBJECT

public:
    explicit CPopularimeterDialog(QWidget* pParent = nullptr);

    // Only popularimeter frames are edited; any other frame is left alone (FALSE).
    BOOL EditFrame(Tags::ID3v2Tag::CFrame* pFrame) override;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnRatingChanged(int nRating);

    Tags::ID3v2Tag::CPopularimeterFrame* m_pPopularimeter = nullptr;
    QLineEdit* m_pEmail = nullptr;
    QSlider* m_pRating = nullptr;
    QLineEdit* m_pCounter = nullptr;
};
