-- The tables of exercise.sqlite3 and the master rows a new user starts with.
create table t_exer (
    ymd      text    not null,
    grp_cd   text    not null,
    exer_cd  text    not null,
    set_num  integer not null,
    hms_sta  text,
    hms_end  text,
    target   real,
    unit_t   text,
    cnt      integer,
    unit     text,
    cnt_min  integer,
    cnt_sec  integer,
    sweat_cd text,
    comment  text,
    primary key (ymd, grp_cd, exer_cd, set_num)
);

create table m_grp (
    grp_cd   text primary key,
    grp_name text    not null,
    status   integer not null default 1,
    order_id integer not null
);

create table m_exer (
    grp_cd    text    not null,
    exer_cd   text    not null,
    exer_name text    not null,
    status    integer not null default 1,
    order_id  integer not null,
    primary key (grp_cd, exer_cd)
);

create table m_unit (
    unit_name text primary key,
    status    integer not null default 1,
    order_id  integer not null
);

create table m_unit_target (
    unit_name text primary key,
    status    integer not null default 1,
    order_id  integer not null
);

create table m_sweat (
    sweat_cd   text primary key,
    sweat_name text    not null,
    status     integer not null default 1,
    order_id   integer not null
);

insert into m_grp values
    ('01', '胸', 1, 1),
    ('02', '背中', 1, 2),
    ('03', '脚', 1, 3),
    ('04', '肩', 1, 4),
    ('05', '腕', 1, 5),
    ('06', '体幹', 1, 6),
    ('07', '有酸素', 1, 7),
    ('99', 'その他', 1, 99);

insert into m_exer values
    ('01', '01', 'ベンチプレス', 1, 1),
    ('01', '02', 'ダンベルフライ', 1, 2),
    ('01', '03', '腕立て伏せ', 1, 3),
    ('01', '04', 'インクラインプレス', 1, 4),
    ('02', '01', '懸垂', 1, 1),
    ('02', '02', 'ラットプルダウン', 1, 2),
    ('02', '03', 'ベントオーバーロウ', 1, 3),
    ('02', '04', 'デッドリフト', 1, 4),
    ('03', '01', 'スクワット', 1, 1),
    ('03', '02', 'レッグプレス', 1, 2),
    ('03', '03', 'ランジ', 1, 3),
    ('03', '04', 'カーフレイズ', 1, 4),
    ('04', '01', 'ショルダープレス', 1, 1),
    ('04', '02', 'サイドレイズ', 1, 2),
    ('04', '03', 'フロントレイズ', 1, 3),
    ('05', '01', 'アームカール', 1, 1),
    ('05', '02', 'ハンマーカール', 1, 2),
    ('05', '03', 'フレンチプレス', 1, 3),
    ('05', '04', 'ディップス', 1, 4),
    ('06', '01', 'プランク', 1, 1),
    ('06', '02', 'クランチ', 1, 2),
    ('06', '03', 'レッグレイズ', 1, 3),
    ('06', '04', 'ロシアンツイスト', 1, 4),
    ('07', '01', 'ウォーキング', 1, 1),
    ('07', '02', 'ランニング', 1, 2),
    ('07', '03', 'エアロバイク', 1, 3),
    ('07', '04', '縄跳び', 1, 4),
    ('99', '99', '休養日', 1, 1);

insert into m_unit values
    ('回', 1, 1),
    ('歩', 1, 2),
    ('周', 1, 3);

insert into m_unit_target values
    ('kg', 1, 1),
    ('km', 1, 2),
    ('m', 1, 3),
    ('lb', 1, 4);

insert into m_sweat values
    ('0', 'なし', 1, 1),
    ('1', '少し', 1, 2),
    ('2', '普通', 1, 3),
    ('3', '多い', 1, 4),
    ('4', '大量', 1, 5);
