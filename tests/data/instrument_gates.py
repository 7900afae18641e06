#!/usr/bin/env python3
# Writes instrument_vNN.hex for each version gate of the instrument file
# (20..31): one active voice, every field the version holds set away from
# its default, so a field read too early or too late shows. Written from
# the file layout's table of fields and their first versions.
import sys

def fixture(v):
    out = ['# Instrument file, version %d: only the fields this version holds.' % v,
           '"Kalvora Instrument File" 00', '%02x   # version %d' % (v, v),
           '01 00 "gate %d" 00   # one description line' % v, '00   # quality 0']
    if v >= 29: out.append('81 7e   # detune octave +1, note -2')
    if v >= 28: out += ['"ba" 00   # effect order', '40*10   # EQ', '3a 01 02 03   # distortion']
    if v >= 29: out.append('3e   # volume')
    if v >= 30: out += ['01 00 10 14   # lowpass slope 1, cut-off 4096, resonance 20',
                        '0a 00 14 00   # fades 10, 20 ms']
    out += ['01   # voice 1 active', '"Gate" 00 10 20   # name, note 16, finetune 32']
    if v >= 24: out += ['"Sawtooth" 00 20*150   # source preset', '"Sine" 00 4b*150   # destination preset']
    else: out += ['"Sawtooth" 00   # source preset by name', '"Sine" 00   # destination preset by name']
    if v >= 27: out.append('01 01   # noise flags')
    out.append('e8 03 03 01   # time 1000, repeats 3, repeat mode')
    if v >= 26: out.append('02 01   # start delay 258')
    out.append('21   # morph preview 33')
    if v >= 23: out.append('11   # phase 17')
    out.append('05 06 07 08 01   # vibrato values, direction')
    if v >= 22: out.append('01 00   # vibrato links up, down')
    if v >= 23: out.append('01 01 01 01   # x100 flags')
    out.append('4d   # volume 77')
    if v >= 25: out.append('"Slow" 00 03 00 ff 80 40 ff 00   # envelope')
    else: out.append('"Slow" 00   # envelope by name')
    if v >= 21: out.append('01 0c 0d   # filter active, from, to')
    if v >= 22: out.append('01 00   # filter links up, down')
    out.append('00*31   # voices 2..32 inactive')
    return '\n'.join(out) + '\n'

for v in range(20, 32):
    with open('instrument_v%d.hex' % v, 'w') as f:
        f.write(fixture(v))
