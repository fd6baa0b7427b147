#include "game/effects/EffectRegistry.h"

void clearFlyScores() { cEffectRegistry<cFxFlyScore>::clear(); }
void clearFlyScorePictures() { cEffectRegistry<cFxFlyScorePic>::clear(); }
void clearMessages() { cEffectRegistry<cFxMessage>::clear(); }
void clearThieves() { cEffectRegistry<cThief>::clear(); }
void clearStars() { cEffectRegistry<cFxStar>::clear(); }
void clearScoreStars() { cEffectRegistry<cFxScoreStar>::clear(); }
void clearTrails() { cEffectRegistry<cFxTrail>::clear(); }
void clearPointers() { cEffectRegistry<cFxPointer>::clear(); }
void clearWaiterStars() { cEffectRegistry<cFxWaiterStar>::clear(); }
void clearSparkleTexts() { cEffectRegistry<cFxScoreSparkle>::clear(); }
void clearClickEffects() { cEffectRegistry<cClickEffect>::clear(); }
void clearSparkles() { cEffectRegistry<cFxSparkle>::clear(); }

const EffectRegistry& getMessageRegistry() { return cEffectRegistry<cFxMessage>::instances(); }
const EffectRegistry& getScoreStarRegistry() { return cEffectRegistry<cFxScoreStar>::instances(); }

void clearEffectsAtLevelEnd() {
    clearFlyScores();
    clearFlyScorePictures();
    clearMessages();
    clearThieves();
    clearStars();
    clearTrails();
    clearSparkleTexts();
}

void clearEffectsAtLevelDestruction() {
    clearFlyScores();
    clearFlyScorePictures();
    clearMessages();
    clearThieves();
    clearStars();
    clearScoreStars();
    clearTrails();
    clearPointers();
    clearWaiterStars();
    clearSparkleTexts();
    clearClickEffects();
    clearSparkles();
}
