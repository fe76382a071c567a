;; The course voice's own pronunciations, added to festival's lexicon before any sentence is spoken.
;; One entry a line, in the form festival's lex.add.entry takes:
;;   (lex.add.entry '("word" nil (((phones of a syllable) stress) ...)))
;; with the phones of festival's US English phone set and stress 1 (stressed) or 0.
;; Every word of the course that festival's lexicon does not know needs an entry here (else the
;; engine guesses from the letters), and so does every known word it says wrong for our learners.
;; course/pronunciations.txt shows what the voice says in every sentence.

;; Japanese names, as an English speaker says them from the written name: every vowel is spoken
;; and no long vowel is written (Jiro for ジロー, Shota for ショウタ).
(lex.add.entry '("aya" nil (((aa) 1) ((y ax) 0))))
(lex.add.entry '("daiki" nil (((d ay) 1) ((k iy) 0))))
(lex.add.entry '("jiro" nil (((jh iy) 1) ((r ow) 0))))
(lex.add.entry '("shota" nil (((sh ow) 1) ((t aa) 0))))
(lex.add.entry '("taro" nil (((t aa) 1) ((r ow) 0))))
(lex.add.entry '("yumi" nil (((y uw) 1) ((m iy) 0))))

;; Japanese places.
(lex.add.entry '("aomori" nil (((aa) 0) ((ow) 0) ((m ao) 1) ((r iy) 0))))
(lex.add.entry '("kobe" nil (((k ow) 1) ((b ey) 0))))

;; Words a learner knows from Japanese, said the way English speakers say them.
(lex.add.entry '("anime" nil (((ae) 1) ((n ax) 0) ((m ey) 0))))
(lex.add.entry '("hiragana" nil (((hh ih) 0) ((r ax) 0) ((g aa) 1) ((n ax) 0))))
(lex.add.entry '("kanji" nil (((k aa n) 1) ((jh iy) 0))))
(lex.add.entry '("latte" nil (((l aa) 1) ((t ey) 0))))
(lex.add.entry '("natto" nil (((n aa) 1) ((t ow) 0))))
(lex.add.entry '("ramen" nil (((r aa) 1) ((m ax n) 0))))

;; English words festival's lexicon says otherwise than a US teacher would in these sentences; each
;; entry has the part of speech of festival's own, so that it takes its place.
;; "an" is weak before its noun (an apple: ax n), as "a" is.
(lex.add.entry '("an" nil (((ax n) 0))))
;; "aren't" in American English (aa r n t; festival has the British-like ae r n t).
(lex.add.entry '("aren't" v (((aa r n t) 1))))

;; "they're" and "there's" open their sentences, where a US speaker says them in full, as "their"
;; and "there" are said (festival has the weak dh er).
(lex.add.entry '("they're" v (((dh eh r) 1))))
(lex.add.entry '("there's" v (((dh eh r z) 1))))
;; Every day name ends in the same "day" (d ey), as festival says Sunday.
(lex.add.entry '("monday" nil (((m ah n) 1) ((d ey) 0))))
(lex.add.entry '("mondays" nil (((m ah n) 1) ((d ey z) 0))))
(lex.add.entry '("friday" nil (((f r ay) 1) ((d ey) 0))))
(lex.add.entry '("saturday" nil (((s ae) 1) ((t er) 0) ((d ey) 0))))
(lex.add.entry '("saturdays" nil (((s ae) 1) ((t er) 0) ((d ey z) 0))))

;; Spellings used only by the voice (course/voice_spellings.txt), for what it gets wrong: homographs,
;; and forms that depend on the next word ("has to" said with s, as its point line teaches).
(lex.add.entry '("hass" nil (((hh ae s) 1))))
;; The weak "can" before a verb in a statement (k ax n), against the strong "can't", and the weak
;; relative "that" (dh ax t), as a US speaker says them.
(lex.add.entry '("cann" nil (((k ax n) 0))))
(lex.add.entry '("thatt" nil (((dh ax t) 0))))
;; From step 3 on, the weak "for", "and" and "than" of unstressed speech.
(lex.add.entry '("forr" nil (((f er) 0))))
(lex.add.entry '("annd" nil (((ax n) 0))))
(lex.add.entry '("thann" nil (((dh ax n) 0))))
(lex.add.entry '("livs" nil (((l ih v z) 1))))
;; "Ms." as a US speaker says it before a name.
(lex.add.entry '("mizz" nil (((m ih z) 1))))
