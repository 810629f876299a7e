%{
// The QV-Script grammar. Nodes record the line of the last token of their
// construct; everything allocated goes through the parse registries.
#include <cstdio>
#include <string>

#include "script/parse.h"
%}

%code requires {
#include <cstdint>
#include <string>
#include <vector>
class Node;
class BlockNode;
struct ParseContext;
}

%code {
static int qvs_lex(QVS_STYPE* value, ParseContext& ctx);
static void qvs_error(ParseContext& ctx, const char* message);

#define LINE ctx.line()
// Refuses trees deeper than the evaluator and destructor can walk.
#define KEEP_SHALLOW(node)                                                        \
  do {                                                                            \
    if ((node)->depth > kMaxTreeDepth) {                                          \
      qvs_error(ctx, "nesting too deep");                                         \
      YYABORT;                                                                    \
    }                                                                             \
  } while (0)
#define BIN(op, a, b) ctx.keep(MakeBinaryNode(op, ctx.take(a), ctx.take(b), LINE))
#define ASSIGN_OP(name, op, value) \
  ctx.make<AssignNode>(std::make_unique<VarNode>(ctx.takeText(name), LINE), ctx.take(value), op, LINE)
#define INC_OP(name, op) \
  ctx.make<AssignNode>(std::make_unique<VarNode>(ctx.takeText(name), LINE), std::make_unique<IntNode>(1, LINE), op, LINE)
}

%define api.prefix {qvs_}
%define api.pure full
%define parse.error custom
%param {ParseContext& ctx}

%union {
  int32_t integer;
  std::string* text;
  Node* node;
  BlockNode* block;
  std::vector<std::string>* names;
}

%token <integer> INTEGER
%token <text> IDENTIFIER STRING_LITERAL LABEL_IDENT
%token IF ELSE WHILE LOOP FOR REPEAT UNTIL BREAK CONTINUE EXIT CB
%token ASSIGN ADD_ASSIGN SUB_ASSIGN INC DEC MUL_ASSIGN DIV_ASSIGN MOD_ASSIGN
%token RSHIFT_ASSIGN LSHIFT_ASSIGN OR_ASSIGN XOR_ASSIGN AND_ASSIGN POW_ASSIGN
%token EQ STRICT_EQ NE STRICT_NE LE GE AND OR POW EOL FUNC RETURN GOTO

%right '='
%right '?' ':'
%left OR
%left AND
%left '|'
%left '^'
%left '&'
%left EQ NE
%left '<' '>' LE GE
%left LS RS
%left '+' '-'
%left '*' '/' '%' POW
%right '!'
%right '~' UMINUS
%nonassoc LOWER_THAN_ELSE

%type <block> stmt_list block
%type <node> stmt opt_else expr_or_empty logic_expr_or_empty logic_expr expr term factor args args_list
%type <names> param_list params

%%

program
  : stmt_list                                { ctx.root = ctx.takeAs<BlockNode>($1); }
  ;

stmt_list
  : stmt                                     { $$ = ctx.make<BlockNode>(LINE); if ($1) $$->append(ctx.take($1)); KEEP_SHALLOW($$); }
  | stmt_list stmt                           { $$ = $1; if ($2) $$->append(ctx.take($2)); KEEP_SHALLOW($$); }
  ;

block
  : '{' stmt_list '}'                        { $$ = $2; }
  | '{' '}'                                  { $$ = ctx.make<BlockNode>(LINE); }
  ;

stmt
  : IF logic_expr block opt_else             { $$ = ctx.make<IfNode>(ctx.take($2), ctx.takeAs<BlockNode>($3), ctx.take($4), LINE); }
  | WHILE logic_expr block                   { $$ = ctx.make<WhileNode>(ctx.take($2), ctx.takeAs<BlockNode>($3), false, LINE); }
  | LOOP block                               { $$ = ctx.make<WhileNode>(nullptr, ctx.takeAs<BlockNode>($2), true, LINE); }
  | FOR '(' expr_or_empty ',' logic_expr_or_empty ',' expr_or_empty ')' block
                                             { $$ = ctx.make<ForNode>(ctx.take($3), ctx.take($5), ctx.take($7), ctx.takeAs<BlockNode>($9), LINE); }
  | REPEAT block UNTIL logic_expr            { $$ = ctx.make<DoWhileNode>(ctx.takeAs<BlockNode>($2), ctx.take($4), false, LINE); }
  | BREAK EOL                                { $$ = ctx.make<FlowNode>(kNodeBreak, LINE); }
  | CONTINUE EOL                             { $$ = ctx.make<FlowNode>(kNodeContinue, LINE); }
  | EXIT logic_expr EOL                      { $$ = ctx.make<ExitNode>(ctx.take($2), LINE); }
  | EXIT EOL                                 { $$ = ctx.make<ExitNode>(nullptr, LINE); }
  | RETURN expr                              { $$ = ctx.make<ReturnNode>(ctx.take($2), LINE); }
  | RETURN                                   { $$ = ctx.make<ReturnNode>(nullptr, LINE); }
  | logic_expr EOL                           { $$ = $1; }
  | EOL                                      { $$ = nullptr; }
  | GOTO LABEL_IDENT                         { $$ = ctx.make<GotoNode>(ctx.takeText($2), LINE); }
  | GOTO expr                                { $$ = ctx.make<GotoNode>(ctx.take($2), LINE); }
  | LABEL_IDENT                              { $$ = ctx.make<LabelNode>(ctx.takeText($1), LINE); }
  ;

opt_else
  : %empty %prec LOWER_THAN_ELSE             { $$ = nullptr; }
  | ELSE block                               { $$ = $2; }
  | ELSE IF logic_expr block opt_else        { $$ = ctx.make<IfNode>(ctx.take($3), ctx.takeAs<BlockNode>($4), ctx.take($5), LINE); }
  ;

expr_or_empty
  : expr                                     { $$ = $1; }
  | %empty                                   { $$ = ctx.make<DummyNode>(LINE); }
  ;

logic_expr_or_empty
  : logic_expr                               { $$ = $1; }
  | %empty                                   { $$ = ctx.make<TrueNode>(LINE); }
  ;

logic_expr
  : logic_expr AND logic_expr                { $$ = BIN(kOpLogicalAnd, $1, $3); KEEP_SHALLOW($$); }
  | logic_expr OR logic_expr                 { $$ = BIN(kOpLogicalOr, $1, $3); KEEP_SHALLOW($$); }
  | '!' logic_expr                           { $$ = ctx.make<UnaryNode>(kOpLogicalNot, ctx.take($2), LINE); KEEP_SHALLOW($$); }
  | expr                                     { $$ = $1; }
  ;

expr
  : expr '+' expr                            { $$ = BIN(kOpAdd, $1, $3); KEEP_SHALLOW($$); }
  | expr '-' expr                            { $$ = BIN(kOpSub, $1, $3); KEEP_SHALLOW($$); }
  | expr '*' expr                            { $$ = BIN(kOpMul, $1, $3); KEEP_SHALLOW($$); }
  | expr '/' expr                            { $$ = BIN(kOpDiv, $1, $3); KEEP_SHALLOW($$); }
  | expr '%' expr                            { $$ = BIN(kOpMod, $1, $3); KEEP_SHALLOW($$); }
  | expr POW expr                            { $$ = BIN(kOpPow, $1, $3); KEEP_SHALLOW($$); }
  | expr '|' expr                            { $$ = BIN(kOpOr, $1, $3); KEEP_SHALLOW($$); }
  | expr '&' expr                            { $$ = BIN(kOpAnd, $1, $3); KEEP_SHALLOW($$); }
  | expr '^' expr                            { $$ = BIN(kOpXor, $1, $3); KEEP_SHALLOW($$); }
  | expr LS expr                             { $$ = BIN(kOpShl, $1, $3); KEEP_SHALLOW($$); }
  | expr RS expr                             { $$ = BIN(kOpShr, $1, $3); KEEP_SHALLOW($$); }
  | expr EQ expr                             { $$ = BIN(kOpEq, $1, $3); KEEP_SHALLOW($$); }
  | expr NE expr                             { $$ = BIN(kOpNe, $1, $3); KEEP_SHALLOW($$); }
  | expr STRICT_EQ expr                      { $$ = BIN(kOpStrictEq, $1, $3); KEEP_SHALLOW($$); }
  | expr STRICT_NE expr                      { $$ = BIN(kOpStrictNe, $1, $3); KEEP_SHALLOW($$); }
  | expr '<' expr                            { $$ = BIN(kOpLt, $1, $3); KEEP_SHALLOW($$); }
  | expr '>' expr                            { $$ = BIN(kOpGt, $1, $3); KEEP_SHALLOW($$); }
  | expr LE expr                             { $$ = BIN(kOpLe, $1, $3); KEEP_SHALLOW($$); }
  | expr GE expr                             { $$ = BIN(kOpGe, $1, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER ASSIGN expr                   { $$ = ASSIGN_OP($1, kOpAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER ADD_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpAddAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER SUB_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpSubAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER MUL_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpMulAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER DIV_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpDivAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER MOD_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpModAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER POW_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpPowAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER RSHIFT_ASSIGN expr            { $$ = ASSIGN_OP($1, kOpShrAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER LSHIFT_ASSIGN expr            { $$ = ASSIGN_OP($1, kOpShlAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER OR_ASSIGN expr                { $$ = ASSIGN_OP($1, kOpOrAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER XOR_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpXorAssign, $3); KEEP_SHALLOW($$); }
  | IDENTIFIER AND_ASSIGN expr               { $$ = ASSIGN_OP($1, kOpAndAssign, $3); KEEP_SHALLOW($$); }
  | INC IDENTIFIER                           { $$ = INC_OP($2, kOpAddAssign); }
  | DEC IDENTIFIER                           { $$ = INC_OP($2, kOpSubAssign); }
  | IDENTIFIER INC                           { $$ = INC_OP($1, kOpPostInc); }
  | IDENTIFIER DEC                           { $$ = INC_OP($1, kOpPostDec); }
  | IDENTIFIER '[' expr ']' ASSIGN expr      { $$ = ctx.make<ArrayAssignNode>(ctx.takeText($1), ctx.take($3), ctx.take($6), LINE); KEEP_SHALLOW($$); }
  | expr '?' expr ':' expr                   { $$ = ctx.make<CondNode>(ctx.take($1), ctx.take($3), ctx.take($5), LINE); KEEP_SHALLOW($$); }
  | term                                     { $$ = $1; }
  ;

term
  : '-' term %prec UMINUS                    { $$ = ctx.make<UnaryNode>(kOpSub, ctx.take($2), LINE); KEEP_SHALLOW($$); }
  | '~' term                                 { $$ = ctx.make<UnaryNode>(kOpNot, ctx.take($2), LINE); KEEP_SHALLOW($$); }
  | factor                                   { $$ = $1; }
  ;

factor
  : INTEGER                                  { $$ = ctx.make<IntNode>($1, LINE); }
  | IDENTIFIER                               { $$ = ctx.make<VarNode>(ctx.takeText($1), LINE); }
  | STRING_LITERAL                           { $$ = ctx.make<StringNode>(ctx.takeText($1), LINE); }
  | '(' logic_expr ')'                       { $$ = $2; }
  | IDENTIFIER '(' args ')'                  { $$ = ctx.make<FuncCallNode>(ctx.takeText($1), ctx.takeArguments($3), LINE); KEEP_SHALLOW($$); }
  | CB '.' IDENTIFIER '(' args ')'           { $$ = ctx.make<CBCallNode>(ctx.takeText($3), ctx.takeArguments($5), LINE); KEEP_SHALLOW($$); }
  | IDENTIFIER '[' expr ']'                  { $$ = ctx.make<ArrayAccessNode>(ctx.takeText($1), ctx.take($3), LINE); KEEP_SHALLOW($$); }
  | FUNC IDENTIFIER '(' param_list ')' block
      {
        std::string name = ctx.takeText($2);
        ctx.run.functions[name] = std::make_unique<FuncDef>(name, ctx.takeNames($4), ctx.takeAs<BlockNode>($6));
        $$ = ctx.make<DummyNode>(LINE);
      }
  ;

param_list
  : %empty                                   { $$ = ctx.names(); }
  | params                                   { $$ = $1; }
  ;

params
  : IDENTIFIER                               { $$ = ctx.names(); $$->push_back(ctx.takeText($1)); }
  | params ',' IDENTIFIER                    { $$ = $1; $$->push_back(ctx.takeText($3)); }
  ;

args
  : %empty                                   { $$ = ctx.make<ListNode>(LINE); }
  | args_list                                { $$ = $1; }
  ;

args_list
  : expr                                     { ListNode* list = ctx.make<ListNode>(LINE); list->append(ctx.take($1)); $$ = list; }
  | args_list ',' expr                       { static_cast<ListNode*>($1)->append(ctx.take($3)); $$ = $1; }
  ;

%%

static int qvs_lex(QVS_STYPE* value, ParseContext& ctx) { return ctx.lexer.next(value); }

// Bison's own wording for a full stack is replaced by the engine's.
static void qvs_error(ParseContext& ctx, const char* message) {
  std::string text = message;
  if (text == "memory exhausted") text = "parser stack overflow";
  RaiseScriptError(ctx.run, kErrorSyntax, ctx.lexer.tokenStartLine(),
                   FormatScriptMessage("line %d, col %d: %s", ctx.lexer.tokenStartLine(),
                                       ctx.lexer.tokenStartColumn(), text.c_str()));
}

// Token names as the error report spells them.
static const char* TokenName(yysymbol_kind_t kind) {
  switch (kind) {
    case YYSYMBOL_YYEOF: return "$";
    case YYSYMBOL_YYUNDEF: return "$undefined.";
    default: return yysymbol_name(kind);
  }
}

static int yyreport_syntax_error(const yypcontext_t* context, ParseContext& ctx) {
  std::string message = "parse error";
  // Lists the acceptable tokens only when there are fewer than five.
  yysymbol_kind_t expected[4];
  int count = yypcontext_expected_tokens(context, expected, 4);
  for (int i = 0; i < count; ++i) {
    message += i == 0 ? ", expecting `" : " or `";
    message += TokenName(expected[i]);
    message += "'";
  }
  std::string text = FormatSyntaxError(ctx.run.sourceLines, ctx.lexer.tokenStartLine(), ctx.lexer.tokenStartColumn(),
                                       message, ctx.lexer.lastTokenText());
  RaiseScriptError(ctx.run, kErrorSyntax, ctx.lexer.tokenStartLine(), text);
  return 0;
}

bool ParseScript(ParseContext& context) { return qvs_parse(context) == 0 && context.root != nullptr; }
