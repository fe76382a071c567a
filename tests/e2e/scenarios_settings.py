"""The settings window: its clearings, options and reset, and the sentence's font chosen in the
font dialog and kept across a restart."""
import os, struct

from harness import *


def scenario_settings_clear_and_reset(d, folder):
    # A checklist entry and a score, as earlier sessions leave them.
    p = check_sentence_two(d, folder)
    data = bytearray(p.save())
    struct.pack_into("<i", data, SCORES_AT, 7)
    with open(os.path.join(folder, "savedata", "save.dat"), "wb") as f:
        f.write(data)

    p = Program.past_the_splash(d, folder)
    p.press(MAIN, "チャプターを上げる")
    expect_sentence(p, 11, "the chapter up")
    open_settings(p)
    p.tick(SETTINGS, "成績をクリアする")
    p.tick(SETTINGS, "チェックリストのクリア")
    p.tick(SETTINGS, "ショートカットの表示")
    p.tick(SETTINGS, "和訳を表示する", False)
    d.screenshot("settings")
    execute_settings(p)
    data = p.wait_for_save(lambda data: int32(data, SCORES_AT) == -1, "the results cleared")
    expect(int32(data, CHECKLIST_AT) == 0, "the checklist was not cleared")
    expect(int32(data, CHAPTER_AT) == 2, "the clearings moved off chapter 2")
    expect(data[SHOW_SHORTCUTS_AT] == 1 and data[SHOW_TRANSLATION_AT] == 0,
           "the options were not saved")
    p.wait_to_read("F2")                       # the shortcut captions show at once
    p.key("F2")                                # the translation's absence with the next sentence
    p.wait_to_read("Sentence 12.")
    expect("J12" not in p.texts(), "the translation is still on show")

    open_settings(p)
    p.tick(SETTINGS, "初期状態に戻す")
    execute_settings(p)
    data = p.wait_for_save(lambda data: int32(data, CHAPTER_AT) == 1, "the reset to chapter 1")
    expect(data[SHOW_SHORTCUTS_AT] == 0 and data[SHOW_TRANSLATION_AT] == 1,
           "the reset did not bring back the options")
    expect_sentence(p, 1, "the reset")
    expect("F2" not in p.texts(), "the shortcut captions stayed after the reset")
    p.close_by_exit_question()


def sentence_look(p, english=ANSWER):
    """The pixels of the English sentence's 24-pixel line. (The label itself is as high as the
    font's lines right after a change of font, and 30 pixels once a sentence is shown anew.)"""
    label = p.wait_for(lambda: p.node(MAIN, english, "label"), f"{english!r} on show")
    x, y, w, h = label["extents"]
    return p.desktop.pixels((x, y, w, 24))


def settled_look(p, unlike=None):
    """The sentence's look once two looks in a row agree (and differ from `unlike`)."""
    last = [None]

    def settled():
        look = sentence_look(p)
        same, last[0] = look == last[0], look
        return look if same and look != unlike else None
    return p.wait_for(settled, "the sentence to be drawn anew")


def font_dialog_box(p, index):
    """What the font dialog's index-th box (face, style, size) reads."""
    boxes = [n["name"] for n in p.read().get(FONT_DIALOG, {"nodes": []})["nodes"]
             if n["role"] == "combo box"]
    return boxes[index] if len(boxes) > index else None


def choose_in_combo(p, index, wanted, key):
    """Presses the key in the font dialog's index-th box until the box reads `wanted`."""
    for _ in range(12):
        reads = font_dialog_box(p, index)
        if reads == wanted:
            return
        p.key(key)
        p.wait_for(lambda: font_dialog_box(p, index) != reads, f"the font dialog's box to move on from {reads!r}")
    raise Failed(f"the font dialog's box reads {font_dialog_box(p, index)!r}, not {wanted!r}")


def scenario_font_change(d, folder):
    p = Program.past_the_splash(d, folder)
    standard = settled_look(p)
    open_settings(p)
    p.press(SETTINGS, "フォント変更")
    p.wait_for(lambda: FONT_DIALOG in p.read(), "the font dialog")
    # By keys alone: the face by its first letters, then down the list; italic where the
    # standard sentence is bold; a size, which the sentence overrides with its own 24 pixels.
    p.key("alt+f")
    p.type("DejaVu")
    p.wait_for(lambda: (font_dialog_box(p, 0) or "").startswith("DejaVu"), "the face typed")
    choose_in_combo(p, 0, "DejaVu Serif", "Down")
    p.key("alt+y")
    choose_in_combo(p, 1, "斜体", "Down")
    p.key("alt+s", "ctrl+a")
    p.type("36")
    p.wait_for(lambda: font_dialog_box(p, 2) == "36", "the size typed")
    d.screenshot("font-dialog")
    p.key("Return")
    p.wait_until_gone(FONT_DIALOG)
    p.press(SETTINGS, "キャンセル")          # keeps the font, which acted at once
    p.wait_until_gone(SETTINGS)
    chosen = settled_look(p, unlike=standard)
    d.screenshot("font-changed")
    p.close_by_exit_question()
    font = p.sentence_font()
    expect((font["Font.Name"], font["Font.Style"], font["Font.Height"])
           == ("DejaVu Serif", {"fsItalic"}, -24), f"fs.dat holds the font {font}")

    p = Program.past_the_splash(d, folder)
    p.wait_for(lambda: sentence_look(p) == chosen, "the sentence in the chosen font after a restart")
    p.close_by_exit_question()
    expect(p.sentence_font() == font, f"the font {font} became {p.sentence_font()} over a restart")
